#ifndef MVPR_IMAGING_WINPICTURE_WIN_H
#define MVPR_IMAGING_WINPICTURE_WIN_H

#include <functional>
#include <optional>

#include "imaging/ColourCycle.h"
#include "imaging/PixelFormat.h"
#include "win/Handles.h"

namespace mvpr {

// The picture the main window previews: it owns one bitmap (a DIB section made from a decoded
// file, or whatever handle NViewLib handed over) and deletes it when given another or destroyed.
// An empty picture has no bitmap, is 0 x 0 and has the format Device.
class WinPicture {
public:
    WinPicture() = default;
    WinPicture(WinPicture&&) noexcept = default;
    WinPicture& operator=(WinPicture&&) noexcept = default;

    // Takes ownership of `bitmap` (0 empties the picture), releases the previous one and tells
    // the owner. `format` is the file's pixel format where the decoder knows it: GDI reports a
    // 16-bit DIB with 5-5-5 masks the same as a plain one, the rule tells them apart.
    // `cycle` is the palette animation the file asks for (a screen's bitmap only).
    void Assign(HBITMAP bitmap, std::optional<PixelFormat> format = std::nullopt,
                std::optional<ColourCycle> cycle = std::nullopt);
    void Clear() { Assign(nullptr); }

    HBITMAP Handle() const { return bitmap_.get(); }
    bool Empty() const { return !bitmap_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    PixelFormat Format() const { return format_; }
    const std::optional<ColourCycle>& Cycle() const { return cycle_; }

    // Called after every change, so the window that shows the picture can repaint.
    void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

private:
    win::UniqueBitmap bitmap_;
    int width_ = 0;
    int height_ = 0;
    PixelFormat format_ = PixelFormat::Device;
    std::optional<ColourCycle> cycle_;
    std::function<void()> onChange_;
};

}  // namespace mvpr

#endif
