#include <gtest/gtest.h>

#include <stdexcept>

#include "app/LoadPicture_win.h"
#include "win/FaultGuard_win.h"

namespace mvpr::test {
namespace {

int* volatile g_nowhere = nullptr;  // volatile: the compiler cannot see the fault coming
volatile int g_zero = 0;

void WriteThroughNull(void*) {
    *g_nowhere = 1;
}
void DivideByZero(void* out) {
    *static_cast<int*>(out) = 7 / g_zero;
}
void Count(void* n) {
    ++*static_cast<int*>(n);
}
void Throw(void*) {
    throw std::runtime_error("not a fault");
}
void FaultInsideAnInnerGuard(void* inner) {
    *static_cast<bool*>(inner) = win::RunGuarded(&WriteThroughNull, nullptr);
}

// Vectored handlers, and on i686 also the SEH frame that systems before XP get.
class FaultGuard : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override { win::ForceFrameFaultGuard(GetParam()); }
    void TearDown() override { win::ForceFrameFaultGuard(false); }
};
#if defined(_WIN64)
INSTANTIATE_TEST_SUITE_P(Vectored, FaultGuard, ::testing::Values(false));
#else
INSTANTIATE_TEST_SUITE_P(VectoredAndFrame, FaultGuard, ::testing::Values(false, true));
#endif

TEST_P(FaultGuard, AFaultEndsTheWorkAndTheProgramGoesOn) {
    EXPECT_FALSE(win::RunGuarded(&WriteThroughNull, nullptr));
    int out = 0;
    EXPECT_FALSE(win::RunGuarded(&DivideByZero, &out));
    EXPECT_EQ(out, 0);
    int runs = 0;
    EXPECT_TRUE(win::RunGuarded(&Count, &runs));
    EXPECT_TRUE(win::RunGuarded(&Count, &runs));
    EXPECT_EQ(runs, 2);
    // a guard inside a guard catches its own fault; the outer work goes on
    bool inner = true;
    EXPECT_TRUE(win::RunGuarded(&FaultInsideAnInnerGuard, &inner));
    EXPECT_FALSE(inner);
}

TEST_P(FaultGuard, CppExceptionsPassThroughToTheCaller) {
    EXPECT_THROW(win::RunGuarded(&Throw, nullptr), std::runtime_error);
    // and the guard is gone with them: a later fault is still caught
    EXPECT_FALSE(win::RunGuarded(&WriteThroughNull, nullptr));
}

HBITMAP WINAPI FaultingLibrary(const char*, int) {
    *g_nowhere = 1;
    return nullptr;
}

TEST_P(FaultGuard, AFaultInThePictureLibraryLeavesThePictureAsItWas) {
    WinPicture picture;
    HBITMAP kept = CreateBitmap(4, 3, 1, 32, nullptr);
    picture.Assign(kept);
    EXPECT_EQ(LoadPicture("C:\\any.jpg", picture, ScreenCategory::Wall, &FaultingLibrary),
              LoadOutcome::Failed);
    EXPECT_EQ(picture.Handle(), kept);
    EXPECT_EQ(picture.Width(), 4);
}

}  // namespace
}  // namespace mvpr::test
