#ifndef MVPR_NVIEWLIB_COM_H
#define MVPR_NVIEWLIB_COM_H

#include "win/Win32.h"

#include <objbase.h>

namespace mvpr {

// An interface pointer released when it goes.
template <typename T>
class Com {
  public:
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() {
        if (p_) p_->Release();
    }
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    T** put() { return &p_; }
    explicit operator bool() const { return p_ != nullptr; }

  private:
    T* p_ = nullptr;
};

// COM for the length of one call: the caller's thread may already have it, in either model.
class ComScope {
  public:
    ComScope() {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        usable_ = SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
        uninitialize_ = SUCCEEDED(hr);  // S_FALSE too: every success needs its CoUninitialize
    }
    ~ComScope() {
        if (uninitialize_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool usable() const { return usable_; }

  private:
    bool usable_ = false;
    bool uninitialize_ = false;
};

}  // namespace mvpr

#endif
