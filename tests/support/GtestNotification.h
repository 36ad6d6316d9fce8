#ifndef MVPR_TESTS_GTESTNOTIFICATION_H
#define MVPR_TESTS_GTESTNOTIFICATION_H

// Included before everything in the Windows tests. GCC's win32 thread model has no std::mutex,
// which gtest's own Notification is made of; this one waits on a Win32 event instead.
#include "win/Win32.h"

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
  public:
    Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

  private:
    HANDLE event_;
};

}  // namespace testing::internal

#endif
