#include "win/OperationSeam.h"

#include <utility>

namespace mvpr::win {

namespace {
OperationSeam& Seam() {
    static OperationSeam seam;
    return seam;
}
}  // namespace

OperationSeam SetOperationSeam(OperationSeam seam) {
    return std::exchange(Seam(), std::move(seam));
}

DWORD OperationFault() {
    return Seam() ? Seam()() : 0;
}

}  // namespace mvpr::win
