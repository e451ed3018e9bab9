#pragma once
// COM on the calling thread for the object's life: a thread of our own that
// uses the system's imaging component, for one.
#include <objbase.h>

namespace tabulon {

class ComApartment {
  public:
    explicit ComApartment(DWORD model) : result_(::CoInitializeEx(nullptr, model)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    HRESULT result_;
};

} // namespace tabulon
