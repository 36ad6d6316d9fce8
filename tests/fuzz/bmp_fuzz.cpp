#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mvpr::fuzz::CheckDecoded(mvpr::DecodeBmp({data, size}, mvpr::fuzz::kLimits));
    return 0;
}
