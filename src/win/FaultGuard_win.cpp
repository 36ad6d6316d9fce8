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

// Vectored handlers came with Windows XP: looked up, not imported.
using AddHandlerFn = PVOID(WINAPI*)(ULONG first, LONG(CALLBACK* handler)(EXCEPTION_POINTERS*));
using RemoveHandlerFn = ULONG(WINAPI*)(PVOID handle);

bool g_forceFrame = false;

struct VectoredApi {
    AddHandlerFn add = nullptr;
    RemoveHandlerFn remove = nullptr;
};

VectoredApi LookUpVectoredApi() {
    VectoredApi api;
    if (g_forceFrame) return api;
    if (HMODULE kernel = GetModuleHandleA("kernel32.dll")) {
        api.add = reinterpret_cast<AddHandlerFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "AddVectoredExceptionHandler")));
        api.remove = reinterpret_cast<RemoveHandlerFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "RemoveVectoredExceptionHandler")));
    }
    if (!api.add || !api.remove) api = {};
    return api;
}

#if !defined(_WIN64)
// Before XP (and whenever the seam says so) an SEH frame of our own on the i686 stack: the
// system calls its handler first for a fault below RunGuarded.
struct SehRecord {
    SehRecord* next;
    void* handler;
};

extern "C" EXCEPTION_DISPOSITION __cdecl OnFaultInFrame(EXCEPTION_RECORD* record, void*, CONTEXT* context,
                                                        void*) {
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    EXCEPTION_POINTERS info{record, context};
    return OnFault(&info) == EXCEPTION_CONTINUE_EXECUTION ? ExceptionContinueExecution
                                                          : ExceptionContinueSearch;
}

SehRecord* TopFrame() {
    SehRecord* top;
    asm volatile("movl %%fs:0, %0" : "=r"(top));
    return top;
}
void SetTopFrame(SehRecord* top) {
    asm volatile("movl %0, %%fs:0" : : "r"(top) : "memory");
}
#endif

// The handler of one run: vectored where the system has them, else the frame (i686 only; on
// x86_64 every system has vectored handlers).
class Handler {
  public:
    explicit Handler(void* frame) {
        const VectoredApi api = LookUpVectoredApi();
        if (api.add) {
            remove_ = api.remove;
            h_ = api.add(1, &OnFault);
        }
#if !defined(_WIN64)
        if (!h_) {
            frame_ = static_cast<SehRecord*>(frame);
            frame_->next = TopFrame();
            frame_->handler = reinterpret_cast<void*>(&OnFaultInFrame);
            SetTopFrame(frame_);
        }
#else
        (void)frame;
#endif
    }
    ~Handler() {
        Remove();
    }
    // Also on the way back from a fault, which skips the destructor's frame.
    void Remove() {
        if (h_) remove_(h_);
        h_ = nullptr;
#if !defined(_WIN64)
        if (frame_) SetTopFrame(frame_->next);
        frame_ = nullptr;
#endif
    }
    Handler(const Handler&) = delete;
    Handler& operator=(const Handler&) = delete;

  private:
    PVOID h_ = nullptr;
    RemoveHandlerFn remove_ = nullptr;
#if !defined(_WIN64)
    SehRecord* frame_ = nullptr;
#endif
};
}  // namespace

void ForceFrameFaultGuard(bool force) {
    g_forceFrame = force;
}

bool RunGuarded(void (*work)(void* arg), void* arg) {
    // Installed for each run only: a DLL that holds this code may be unloaded afterwards. The
    // frame record lives here, on the stack below every frame the work makes.
    void* frame[2];
    Handler handler(frame);
    Guard guard{};
    guard.outer = t_guard;
    if (__builtin_setjmp(guard.jump)) {
        t_guard = guard.outer;
        handler.Remove();
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
