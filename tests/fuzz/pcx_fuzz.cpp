#include "FuzzChecks.h"
#include "imaging/PcxDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const mvpr::DecodeResult r = mvpr::DecodePcx({data, size}, mvpr::fuzz::kLimits);
    mvpr::fuzz::Require(!r.Ok() || mvpr::LooksLikePcx({data, size}), "decoded what the sniffer refuses");
    mvpr::fuzz::CheckDecoded(r);
    return 0;
}
