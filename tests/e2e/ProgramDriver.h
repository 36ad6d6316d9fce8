#ifndef MVPR_TESTS_E2E_PROGRAMDRIVER_H
#define MVPR_TESTS_E2E_PROGRAMDRIVER_H

// Starts MVPR.exe in a folder of its own and finds its windows from outside, as a user sees them.
#include <string>
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
    // A visible top-level window of the program with this class, waiting up to ms.
    HWND WaitForWindow(const char* className, int ms) const;
    bool HasVisibleWindow(const char* className) const;
    // Waits for the process to end; its exit code, or -1 on time-out.
    long WaitForExit(int ms);
    DWORD pid() const { return pi_.dwProcessId; }
    HANDLE process() const { return pi_.hProcess; }

  private:
    PROCESS_INFORMATION pi_{};
};

struct BoxContents {
    std::string caption, text;
    std::vector<std::string> buttons;
};
BoxContents ReadBox(HWND box);

// The text of a list view cell in another process (the text buffer must live over there).
std::string RemoteListViewText(DWORD pid, HWND list, int item, int subItem);

}  // namespace mvpr::test

#endif
