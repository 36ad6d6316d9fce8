#ifndef MVPR_WIN_OPERATIONSEAM_H
#define MVPR_WIN_OPERATIONSEAM_H

#include <functional>

#include "win/Win32.h"

namespace mvpr::win {

// Every file and registry operation of the programs asks this seam first, so that a test can make
// any one of them fail as a full disk, a lost share or a machine losing power would. A non-zero
// answer is the system error the operation then fails with; without a seam everything runs.
using OperationSeam = std::function<DWORD()>;
OperationSeam SetOperationSeam(OperationSeam seam);  // returns the seam it replaces
DWORD OperationFault();

}  // namespace mvpr::win

#endif
