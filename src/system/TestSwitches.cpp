#include "system/TestSwitches.h"

namespace mvpr {

TestSwitches ParseTestSwitches(int argc, const char* const* argv) {
    TestSwitches s;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with(kTestWindowsDirSwitch))
            s.windowsDir = std::string(arg.substr(kTestWindowsDirSwitch.size()));
        else if (arg.starts_with(kTestRegistryPrefixSwitch))
            s.registryPrefix = std::string(arg.substr(kTestRegistryPrefixSwitch.size()));
    }
    return s;
}

}  // namespace mvpr
