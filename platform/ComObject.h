#pragma once
// The reference count of a COM object the program itself implements (a site,
// an event sink, an accessible object). It starts with one reference, its
// creator's; the last Release deletes it.
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

} // namespace tabulon
