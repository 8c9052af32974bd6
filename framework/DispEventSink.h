#pragma once
// Receives the events of a control's outgoing dispatch interface (for example the web browser's
// DWebBrowserEvents2): connects to the source's connection point for that interface and hands
// each call to a handler. The sink is reference-counted because the source keeps references of
// its own; Disconnect cuts it from both the source and the handler, so a source that calls late
// reaches nobody.
#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>
#include "framework/ComPtr.h"

class IDispEventHandler {
public:
    // One event; the arguments come last-first, as DISPPARAMS holds them (see DispParams.h).
    virtual void OnDispEvent(DISPID event, DISPPARAMS* params) = 0;

protected:
    ~IDispEventHandler() = default;
};

class CDispEventSink : public IDispatch {
public:
    // One reference, the caller's.
    CDispEventSink(REFIID events, IDispEventHandler* handler) : events_(events), handler_(handler) {}
    CDispEventSink(const CDispEventSink&) = delete;
    CDispEventSink& operator=(const CDispEventSink&) = delete;

    // Advises source's connection point for the event interface.
    HRESULT Connect(IUnknown* source);
    // Unadvises (when connected) and forgets the handler.
    void Disconnect();
    bool IsConnected() const { return point_ && cookie_ != 0; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch: events carry no type information of ours.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID event, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO*, UINT*) override;

private:
    virtual ~CDispEventSink() = default;

    IID events_;
    IDispEventHandler* handler_;
    CComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
    LONG refs_ = 1;
};
