#ifndef MVPR_WIN_FONTS_H
#define MVPR_WIN_FONTS_H

#include "win/Win32.h"

namespace mvpr::win {

// Pixels per logical inch of the screen, as every Windows since 95 tells it (GetDeviceCaps
// LOGPIXELSY; the per-window DPI functions are not there on Windows 98). Tests may set it.
int ScreenDpi();
int SetScreenDpiSeam(int dpi);  // 0: the screen's own again; returns the one it replaces
// One home for every pixel measure: a length laid out at 96 DPI, at the screen's resolution.
int Scaled(int pixelsAt96);

// "MS Sans Serif" 8 pt at the screen's resolution, the face of every window of the program;
// systems without it substitute their nearest face.
HFONT CreateUiFont(bool bold);
// The height of a line of text in the font, in pixels.
int LineHeight(HFONT font);

}  // namespace mvpr::win

#endif
