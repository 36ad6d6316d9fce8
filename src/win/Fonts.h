#ifndef MVPR_WIN_FONTS_H
#define MVPR_WIN_FONTS_H

#include "win/Win32.h"

namespace mvpr::win {

// "MS Sans Serif" 8 pt at the screen's resolution, the face of every window of the program;
// systems without it substitute their nearest face.
HFONT CreateUiFont(bool bold);

}  // namespace mvpr::win

#endif
