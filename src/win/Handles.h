#ifndef MVPR_WIN_HANDLES_H
#define MVPR_WIN_HANDLES_H

#include <utility>

#include "win/Win32.h"

namespace mvpr::win {

// Owns one OS handle and releases it with Close when it goes or receives another. File and
// find handles use INVALID_HANDLE_VALUE for "none", the others null.
template <typename H, auto Close, bool InvalidIsNone = false>
class Unique {
    static H None() {
        if constexpr (InvalidIsNone)
            return INVALID_HANDLE_VALUE;
        else
            return H{};
    }

  public:
    Unique() = default;
    explicit Unique(H h) : h_(h) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, None())) {}
    Unique& operator=(Unique&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, None()));
        return *this;
    }
    ~Unique() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != None(); }
    H release() { return std::exchange(h_, None()); }
    void reset() { reset(None()); }
    void reset(H h) {
        if (h_ != None() && h_ != h) Close(h_);
        h_ = h;
    }
    // For APIs that fill in a handle: releases the current one first.
    H* put() {
        reset();
        return &h_;
    }

  private:
    H h_ = None();
};

inline void CloseKey(HKEY k) {
    RegCloseKey(k);
}
inline void CloseGdi(HGDIOBJ o) {
    DeleteObject(o);
}
inline void CloseHandleFn(HANDLE h) {
    CloseHandle(h);
}
inline void CloseMenuFn(HMENU m) {
    DestroyMenu(m);
}
inline void CloseDcFn(HDC dc) {
    DeleteDC(dc);
}

using UniqueKey = Unique<HKEY, &CloseKey>;
using UniqueFont = Unique<HFONT, &CloseGdi>;
using UniqueBitmap = Unique<HBITMAP, &CloseGdi>;
using UniqueBrush = Unique<HBRUSH, &CloseGdi>;
using UniqueMenu = Unique<HMENU, &CloseMenuFn>;
using UniqueDc = Unique<HDC, &CloseDcFn>;  // for CreateCompatibleDC
using UniqueHandle = Unique<HANDLE, &CloseHandleFn>;
using UniqueFile = Unique<HANDLE, &CloseHandleFn, true>;
inline void CloseFind(HANDLE h) {
    FindClose(h);
}
using UniqueFind = Unique<HANDLE, &CloseFind, true>;

// A DC from GetDC, given back with ReleaseDC.
class WindowDc {
  public:
    explicit WindowDc(HWND w) : w_(w), dc_(GetDC(w)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ReleaseDC(w_, dc_);
    }
    HDC get() const { return dc_; }

  private:
    HWND w_;
    HDC dc_;
};

// Selects an object into a DC for one scope.
class Selected {
  public:
    Selected(HDC dc, HGDIOBJ o) : dc_(dc), old_(SelectObject(dc, o)) {}
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;
    ~Selected() { SelectObject(dc_, old_); }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace mvpr::win

#endif
