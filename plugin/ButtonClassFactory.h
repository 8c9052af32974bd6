#pragma once
// The class object of the button: makes new buttons and counts server locks.
#include <windows.h>
#include <unknwn.h>

class ButtonClassFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    // The class object itself lives as long as the library, but every reference handed out
    // keeps the library loaded: a caller holding the factory may call it after the browser asked
    // whether the library can go.
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    volatile LONG m_refs = 0;
};
