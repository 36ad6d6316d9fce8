#ifndef MVPR_SYSTEM_TESTSWITCHES_H
#define MVPR_SYSTEM_TESTSWITCHES_H

#include <optional>
#include <string>
#include <string_view>

namespace mvpr {

// The switches the end-to-end tests of the check window start the selector with, so that they leave
// the machine alone:
// another Windows directory, and a prefix before every registry key. Not for users.
inline constexpr std::string_view kTestWindowsDirSwitch = "--test-windows-dir=";
inline constexpr std::string_view kTestRegistryPrefixSwitch = "--test-registry-prefix=";

struct TestSwitches {
    std::optional<std::string> windowsDir;
    std::optional<std::string> registryPrefix;
};

// Reads the switches among the parameters (argv[1] on); the last of each counts.
TestSwitches ParseTestSwitches(int argc, const char* const* argv);

}  // namespace mvpr

#endif
