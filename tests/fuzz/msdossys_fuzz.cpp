// MSDOS.SYS is edited in the root of the boot drive: any bytes must come out as a file that keeps
// every rule of the edit (one 0 made 1, nothing else changed) or be refused.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "support/MsDosEditChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const mvpr::MsDosKey key : {mvpr::MsDosKey::Logo, mvpr::MsDosKey::BootGui}) {
        const std::string broken = mvpr::test::MsDosEditViolation(bytes, key);
        if (!broken.empty()) {
            std::fprintf(stderr, "fuzz check failed: %s\n", broken.c_str());
            std::abort();
        }
    }
    return 0;
}
