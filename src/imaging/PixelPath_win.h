#ifndef MVPR_IMAGING_PIXELPATH_WIN_H
#define MVPR_IMAGING_PIXELPATH_WIN_H

namespace mvpr {

// Decides once, at start-up, whether the SSE2 rows of PixelRows.h may run: on x86_64 always; on
// i686 when the processor reports SSE2 (CPUID) and the system runs a trial SSE2 instruction
// without faulting (Windows 95 and the first Windows 98 do not save the SSE registers, and fault).
// True when they may.
bool DecidePixelPath();

}  // namespace mvpr

#endif
