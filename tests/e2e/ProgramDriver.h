#ifndef MVPR_TESTS_E2E_PROGRAMDRIVER_H
#define MVPR_TESTS_E2E_PROGRAMDRIVER_H

// Starts MVPR.exe in a folder of its own and finds its windows from outside, as a user sees them.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"

namespace mvpr::test {

// MVPR.exe of this build: tests/ and bin/ lie side by side.
std::string BuiltProgram();
std::string BuiltProgramFolder();

class ProgramDriver {
  public:
    ProgramDriver() = default;
    ~ProgramDriver();
    ProgramDriver(const ProgramDriver&) = delete;
    ProgramDriver& operator=(const ProgramDriver&) = delete;

    // Copies the program folder into the folder and starts one of its programs there with the
    // parameters.
    bool Start(const std::string& folder, const std::string& parameters,
               const std::string& program = "MVPR.exe");
    // A visible top-level window of the program with this class (and caption, when one is given),
    // waiting up to ms.
    HWND WaitForWindow(const char* className, int ms, const char* caption = nullptr) const;
    bool HasVisibleWindow(const char* className) const;
    // Waits for the process to end; its exit code, or -1 on time-out.
    long WaitForExit(int ms);
    DWORD pid() const { return pi_.dwProcessId; }
    HANDLE process() const { return pi_.hProcess; }

  private:
    PROCESS_INFORMATION pi_{};
};

// The Windows folder of the machine (the Wine prefix): the programs run there without switches.
std::string WindowsFolder();

// The prefix's screens, MSDOS.SYS (and the copy its editor makes) and desktop values as they were,
// attributes too, put back when it goes; the programs' keys and Run entry gone at both ends. Holds the drive
// root, which tests outside ctest's lock share.
class MachineSnapshot {
  public:
    MachineSnapshot();
    ~MachineSnapshot();
    MachineSnapshot(const MachineSnapshot&) = delete;
    MachineSnapshot& operator=(const MachineSnapshot&) = delete;

  private:
    struct File {
        std::string path;
        DWORD attributes;  // INVALID_FILE_ATTRIBUTES: there was none
        std::string bytes;
    };
    const DriveRootLock lock_;
    std::vector<File> files_;
    std::vector<std::pair<std::string, std::optional<std::string>>> values_;
};

// The first run's record of a machine without screens of its own and with an empty desktop, as
// the selector writes it: the randomizer may install over everything.
void RecordMachineWithoutScreens();

struct BoxContents {
    std::string caption, text;
    std::vector<std::string> buttons;
};
BoxContents ReadBox(HWND box);

// The text of a list view cell in another process (the text buffer must live over there).
std::string RemoteListViewText(DWORD pid, HWND list, int item, int subItem);

}  // namespace mvpr::test

#endif
