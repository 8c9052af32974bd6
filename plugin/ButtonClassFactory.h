#pragma once
// The class object of the button: makes new buttons and counts server locks.
#include <windows.h>
#include <unknwn.h>

class ButtonClassFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    // The class object lives as long as the library: its count only guards against misuse.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    STDMETHODIMP LockServer(BOOL lock) override;
};
