#pragma once
// The reference count of a COM object the program itself implements (a site,
// an event sink, an accessible object). It starts with one reference, its
// creator's; the last Release deletes it.
// The count is a plain integer, not an interlocked one, because every such
// object is made on the UI thread and lives in its single-threaded apartment
// (OleInitialize in TApplication): a client in another thread or process gets
// a proxy, whose calls the UI thread's message loop serves one at a time.
#include <oaidl.h>
#include <unknwn.h>

namespace tabulon {

template <class... Interfaces> class ComObject : public Interfaces... {
  public:
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

  protected:
    ComObject() = default;
    virtual ~ComObject() = default;

  private:
    ULONG refs_ = 1;
};

// DispatchObject<I, kIid>: an object of interface I (derived from IDispatch,
// asked for as kIid) without type information: its callers use I's methods
// (IAccessible) or call Invoke with the DISPIDs they know (an event sink).
template <class I, const IID& kIid> class DispatchObject : public ComObject<I> {
  public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIid) {
            *out = static_cast<I*>(this);
            this->AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
};

} // namespace tabulon
