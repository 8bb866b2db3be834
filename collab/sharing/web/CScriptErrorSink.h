#pragma once
#include <oaidl.h>

// The handler a page's script errors go to: it takes every call and
// reports success, so that no error box is shown.
class CScriptErrorSink : public IDispatch
{
public:
    CScriptErrorSink() = default;
    virtual ~CScriptErrorSink() = default;

    // A new sink with one reference held by the caller.
    static CScriptErrorSink* Make();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                     EXCEPINFO*, UINT*) override;

private:
    LONG m_refs = 1;
};
