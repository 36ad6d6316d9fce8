#include "imaging/ColourAnimation_win.h"

#include <cstring>

#include "imaging/DibSection_win.h"

namespace mvpr {

namespace {
constexpr char kProperty[] = "MVPR.ColourAnimation";
constexpr UINT_PTR kTimerId = 0x4D56;

bool PaletteDisplay() {
    HDC screen = GetDC(nullptr);
    const bool palette = screen && (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
    if (screen) ReleaseDC(nullptr, screen);
    return palette;
}

// A palette-device DIB header whose "colours" are the logical palette's entries 0..255 in order.
struct PaletteIndexInfo {
    BITMAPINFOHEADER header;
    WORD indexes[256];
};

PALETTEENTRY Entry(const Bgra& c, BYTE flags) {
    return PALETTEENTRY{c.r, c.g, c.b, flags};
}
}  // namespace

bool ColourAnimation::Load(const Picture& indexed, ColourCycle cycle, int width, int height) {
    Clear();
    if (indexed.Palette().size() < 256 || cycle.first < 1 || cycle.first > 255) return false;
    const auto scaled = ScaleIndexExact(indexed, width, height);
    if (!scaled) return false;
    bitmap_.reset(CreateDibSection(*scaled));
    DIBSECTION dib{};
    if (!bitmap_ || GetObjectA(bitmap_.get(), sizeof dib, &dib) < static_cast<int>(sizeof dib) ||
        !dib.dsBm.bmBits) {
        bitmap_.reset();
        return false;
    }
    bits_ = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
    width_ = width;
    height_ = height;
    cycle_ = cycle;
    original_ = scaled->Palette();
    original_.resize(256);
    colours_ = original_;
    frame_ = 0;
    if (PaletteDisplay()) {
        struct {
            WORD version, count;
            PALETTEENTRY entries[256];
        } logical{0x300, 256, {}};
        for (int i = 0; i < 256; ++i)
            logical.entries[i] =
                Entry(colours_[static_cast<std::size_t>(i)], i >= cycle.first ? PC_RESERVED : 0);
        palette_.reset(CreatePalette(reinterpret_cast<const LOGPALETTE*>(&logical)));
    }
    return true;
}

void ColourAnimation::Clear() {
    Stop();
    bitmap_.reset();
    palette_.reset();
    bits_ = nullptr;
    width_ = height_ = 0;
    original_.clear();
    colours_.clear();
    frame_ = 0;
}

void ColourAnimation::Play(HWND window) {
    if (!Loaded() || !window) return;
    if (window_ && window_ != window) Stop();
    window_ = window;
    SetPropA(window_, kProperty, this);
    StartTimer();
}

void ColourAnimation::StartTimer() {
    if (window_ && !timerRunning_)
        timerRunning_ = SetTimer(window_, kTimerId, kFrameMs, &ColourAnimation::OnTimer) != 0;
}

void ColourAnimation::Stop() {
    if (window_) {
        KillTimer(window_, kTimerId);
        RemovePropA(window_, kProperty);
    }
    const HWND shown = window_;
    window_ = nullptr;
    timerRunning_ = false;
    if (Loaded() && frame_ != 0) {
        colours_ = original_;
        frame_ = 0;
        PutColours();
        if (shown) InvalidateRect(shown, nullptr, FALSE);
    }
}

void CALLBACK ColourAnimation::OnTimer(HWND window, UINT, UINT_PTR, DWORD) {
    if (auto* self = static_cast<ColourAnimation*>(GetPropA(window, kProperty))) self->Tick();
}

bool ColourAnimation::WindowShowing() const {
    if (!IsWindowVisible(window_)) return false;
    HWND top = window_;
    while ((GetWindowLongA(top, GWL_STYLE) & WS_CHILD) != 0 && GetParent(top)) top = GetParent(top);
    return !IsIconic(top);
}

void ColourAnimation::Tick() {
    if (!window_) return;
    if (!WindowShowing()) {
        // Nothing to see: no frames until the window is painted again.
        KillTimer(window_, kTimerId);
        timerRunning_ = false;
        return;
    }
    Step();
}

void ColourAnimation::PutColours() {
    const auto first = static_cast<std::size_t>(cycle_.first);
    const UINT count = static_cast<UINT>(cycle_.Count());
    if (palette_) {
        PALETTEENTRY entries[256];
        for (std::size_t i = first; i < 256; ++i) entries[i - first] = Entry(colours_[i], PC_RESERVED);
        AnimatePalette(palette_.get(), static_cast<UINT>(first), count, entries);
        return;
    }
    RGBQUAD table[256];
    for (std::size_t i = first; i < 256; ++i)
        table[i - first] = RGBQUAD{colours_[i].b, colours_[i].g, colours_[i].r, 0};
    win::UniqueDc memory(CreateCompatibleDC(nullptr));
    if (!memory) return;
    win::Selected keep(memory.get(), bitmap_.get());
    SetDIBColorTable(memory.get(), static_cast<UINT>(first), count, table);
}

void ColourAnimation::Step() {
    if (!Loaded()) return;
    RotateColours(colours_, cycle_);
    ++frame_;
    PutColours();
    // The palette manager has changed the screen already; a DIB is drawn again.
    if (!palette_ && window_) {
        InvalidateRect(window_, nullptr, FALSE);
        UpdateWindow(window_);
    }
}

bool ColourAnimation::Paint(HDC dc, int x, int y) {
    if (!Loaded()) return false;
    if (palette_) {
        HPALETTE before = SelectPalette(dc, palette_.get(), FALSE);
        RealizePalette(dc);
        PaletteIndexInfo info{};
        info.header.biSize = sizeof(BITMAPINFOHEADER);
        info.header.biWidth = width_;
        info.header.biHeight = height_;
        info.header.biPlanes = 1;
        info.header.biBitCount = 8;
        info.header.biCompression = BI_RGB;
        info.header.biClrUsed = 256;
        for (WORD i = 0; i < 256; ++i) info.indexes[i] = i;
        SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(width_), static_cast<DWORD>(height_), 0, 0, 0,
                          static_cast<UINT>(height_), bits_, reinterpret_cast<const BITMAPINFO*>(&info),
                          DIB_PAL_COLORS);
        if (before) SelectPalette(dc, before, TRUE);
    } else {
        win::UniqueDc memory(CreateCompatibleDC(dc));
        win::Selected keep(memory.get(), bitmap_.get());
        BitBlt(dc, x, y, width_, height_, memory.get(), 0, 0, SRCCOPY);
    }
    StartTimer();  // after a pause while the window could not be seen
    return true;
}

}  // namespace mvpr
