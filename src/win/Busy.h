#ifndef MVPR_WIN_BUSY_H
#define MVPR_WIN_BUSY_H

#include "win/Win32.h"

namespace mvpr::win {

// No "insert a disk" or "cannot open" boxes from the system while a scope looks at files that
// may lie on removable or missing drives.
class QuietErrors {
  public:
    QuietErrors() : old_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~QuietErrors() { SetErrorMode(old_); }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

  private:
    UINT old_;
};

// The hourglass while a scope blocks the window (decoding a picture, testing many files).
class WaitCursor {
  public:
    WaitCursor() : old_(SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514) /* IDC_WAIT */))) {}
    ~WaitCursor() { SetCursor(old_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    HCURSOR old_;
};

}  // namespace mvpr::win

#endif
