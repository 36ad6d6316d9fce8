#include "imaging/PixelPath_win.h"

#if !defined(_WIN64)
#include <cpuid.h>
#endif

#include "imaging/PixelRows.h"
#include "imaging/PixelRowsSse2.h"
#include "win/FaultGuard_win.h"

namespace mvpr {

namespace {

bool ProcessorHasSse2() {
#if defined(_WIN64)
    return true;
#else
    // __get_cpuid first sees whether the processor has CPUID at all (the ID flag of EFLAGS).
    unsigned a = 0, b = 0, c = 0, d = 0;
    return __get_cpuid(1, &a, &b, &c, &d) != 0 && (d & bit_SSE2) != 0;
#endif
}

void Trial(void*) {
    rows::sse2::TrialSse2();
}

}  // namespace

bool DecidePixelPath() {
    // The trial runs under a fault guard: an illegal-instruction fault there ends only the trial.
    const bool usable = ProcessorHasSse2() && win::RunGuarded(&Trial, nullptr);
    SetSse2Usable(usable);
    return usable;
}

}  // namespace mvpr
