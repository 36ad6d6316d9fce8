#include "win/OperationSeam.h"

#include <utility>

namespace mvpr::win {

namespace {
OperationSeam& Seam() {
    static OperationSeam seam;
    return seam;
}
}  // namespace

void SetOperationSeam(OperationSeam seam) {
    Seam() = std::move(seam);
}

DWORD OperationFault() {
    return Seam() ? Seam()() : 0;
}

}  // namespace mvpr::win
