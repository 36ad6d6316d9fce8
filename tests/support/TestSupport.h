#ifndef MVPR_TESTS_TESTSUPPORT_H
#define MVPR_TESTS_TESTSUPPORT_H

// Helpers of the Windows tests: temporary folders, throwaway registry keys, files.
#include <functional>
#include <string>
#include <vector>

#include "win/Win32.h"

namespace mvpr::test {

// A folder of its own under the temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }  // no trailing backslash
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

// Held by every test that writes logo.sys in the root of the Windows drive, which all test
// processes share: one at a time.
class DriveRootLock {
  public:
    DriveRootLock();
    ~DriveRootLock();
    DriveRootLock(const DriveRootLock&) = delete;
    DriveRootLock& operator=(const DriveRootLock&) = delete;

  private:
    HANDLE mutex_;
};

void RemoveTree(const std::string& path);
bool WriteFile(const std::string& path, const std::string& bytes);
// A blank bitmap file of the size and depth asked for, as the program's own BMP writer makes it.
std::string BlankBmp(int width, int height, int bitsPerPixel);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
// Names in a folder, files and folders, without "." and "..".
std::vector<std::string> ListFolder(const std::string& path);

// A unique key path under HKEY_CURRENT_USER, deleted on construction and destruction.
class RegistrySandbox {
  public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;
    // The prefix to put before the program's own key paths ("Software\MVPR tests\...\").
    const std::string& prefix() const { return prefix_; }

  private:
    std::string prefix_;
};

void DeleteKeyTree(HKEY root, const std::string& path);
bool RegistryKeyExists(HKEY root, const std::string& path);
bool RegistryValueExists(HKEY root, const std::string& path, const std::string& value);

// Handles every queued message (and removes a WM_QUIT that would end the next modal loop).
void Pump();
// The visible dialog (a message box, the About box) of this thread, or nullptr. Only this thread's:
// tests running in parallel must not answer each other's boxes.
HWND FindThreadDialog();
std::string WindowText(HWND hwnd);

// A second thread through the Win32 API (the Windows builds have no std::thread); joined at the
// latest when it goes.
class TestThread {
  public:
    explicit TestThread(std::function<void()> work);
    ~TestThread() { join(); }
    TestThread(const TestThread&) = delete;
    TestThread& operator=(const TestThread&) = delete;
    void join();

  private:
    static DWORD WINAPI Run(void* self);
    std::function<void()> work_;
    HANDLE handle_ = nullptr;
};

}  // namespace mvpr::test

#endif
