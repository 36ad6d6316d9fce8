#ifndef MVPR_WIN_FAULTGUARD_WIN_H
#define MVPR_WIN_FAULTGUARD_WIN_H

namespace mvpr::win {

// Runs work(arg). A processor fault on this thread while it runs (an access violation, an
// illegal instruction, a division by zero, a failed page read) ends the work where it stands
// and gives false instead of ending the program; what the work had allocated by then is not
// freed. C++ exceptions are not faults: they pass through to the caller. Guards nest.
// Where the system has vectored exception handlers (XP and later) one guards the run; before
// that, on i686, an SEH frame of its own does. For tests: force the frame where both exist.
bool RunGuarded(void (*work)(void* arg), void* arg);
void ForceFrameFaultGuard(bool force);

}  // namespace mvpr::win

#endif
