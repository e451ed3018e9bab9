#pragma once
// Owner of one COM reference. Move-only, so every AddRef the program takes is
// matched by exactly one Release however a function leaves.
#include <unknwn.h>

#include <utility>

namespace tabulon {

template <class Interface> class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            ptr_ = std::exchange(other.ptr_, nullptr);
        }
        return *this;
    }
    ~ComPtr() { Reset(); }

    Interface* Get() const { return ptr_; }
    Interface* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }

    // For functions that hand out a new reference through an out parameter.
    Interface** Receive() {
        Reset();
        return &ptr_;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }

    void Reset() {
        if (ptr_) std::exchange(ptr_, nullptr)->Release();
    }

    // Another interface of the same object; empty when it has none.
    template <class Other> ComPtr<Other> As(REFIID iid) const {
        ComPtr<Other> other;
        if (ptr_) ptr_->QueryInterface(iid, other.ReceiveVoid());
        return other;
    }

  private:
    Interface* ptr_ = nullptr;
};

} // namespace tabulon
