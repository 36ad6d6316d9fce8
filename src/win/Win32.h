#ifndef MVPR_WIN_WIN32_H
#define MVPR_WIN_WIN32_H

// One place that includes the Windows headers, in the order mingw and MSVC both accept.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>

#endif
