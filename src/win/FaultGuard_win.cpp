#include "win/FaultGuard_win.h"

#include "win/Win32.h"

namespace mvpr::win {

namespace {
struct Guard {
    void* jump[5];  // for __builtin_setjmp: frame, resume address, stack
    Guard* outer;
};

thread_local Guard* t_guard = nullptr;

bool IsFault(DWORD code) {
    switch (code) {
        case EXCEPTION_ACCESS_VIOLATION:
        case EXCEPTION_ILLEGAL_INSTRUCTION:
        case EXCEPTION_PRIV_INSTRUCTION:
        case EXCEPTION_INT_DIVIDE_BY_ZERO:
        case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
        case EXCEPTION_DATATYPE_MISALIGNMENT:
        case EXCEPTION_IN_PAGE_ERROR: return true;
        default: return false;  // C++ exceptions, breakpoints, stack overflow: not ours to end
    }
}

// Where a faulting thread is sent: back into RunGuarded, as if its setjmp returned again.
[[noreturn]] void Resume() {
    __builtin_longjmp(t_guard->jump, 1);
}

LONG CALLBACK OnFault(EXCEPTION_POINTERS* info) {
    if (!t_guard || !IsFault(info->ExceptionRecord->ExceptionCode)) return EXCEPTION_CONTINUE_SEARCH;
    // Continue in Resume on the same stack, below where the fault happened, aligned as at a call.
    CONTEXT* c = info->ContextRecord;
#if defined(_WIN64)
    c->Rsp = ((c->Rsp - 512) & ~static_cast<DWORD64>(15)) - 8;
    c->Rip = reinterpret_cast<DWORD64>(&Resume);
#else
    c->Esp = ((c->Esp - 512) & ~static_cast<DWORD>(15)) - 4;
    c->Eip = reinterpret_cast<DWORD>(&Resume);
#endif
    return EXCEPTION_CONTINUE_EXECUTION;
}

class Handler {
  public:
    Handler() : h_(AddVectoredExceptionHandler(1, &OnFault)) {}
    ~Handler() {
        if (h_) RemoveVectoredExceptionHandler(h_);
    }
    Handler(const Handler&) = delete;
    Handler& operator=(const Handler&) = delete;

  private:
    PVOID h_;
};
}  // namespace

bool RunGuarded(void (*work)(void* arg), void* arg) {
    // Installed for each run only: a DLL that holds this code may be unloaded afterwards.
    Handler handler;
    Guard guard{};
    guard.outer = t_guard;
    if (__builtin_setjmp(guard.jump)) {
        t_guard = guard.outer;
        return false;
    }
    t_guard = &guard;
    struct Restore {
        Guard* outer;
        ~Restore() { t_guard = outer; }  // also when a C++ exception leaves the work
    } restore{guard.outer};
    work(arg);
    return true;
}

}  // namespace mvpr::win
