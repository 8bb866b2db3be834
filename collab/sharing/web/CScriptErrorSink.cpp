#include "CScriptErrorSink.h"

CScriptErrorSink* CScriptErrorSink::Make() { return new CScriptErrorSink; }

HRESULT CScriptErrorSink::QueryInterface(REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = NULL;
    return E_NOINTERFACE;
}

ULONG CScriptErrorSink::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }

ULONG CScriptErrorSink::Release()
{
    const LONG left = ::InterlockedDecrement(&m_refs);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT CScriptErrorSink::GetTypeInfoCount(UINT* count)
{
    if (count)
        *count = 0;
    return S_OK;
}

HRESULT CScriptErrorSink::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = NULL;
    return E_NOTIMPL;
}

HRESULT CScriptErrorSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

HRESULT CScriptErrorSink::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                 EXCEPINFO*, UINT*)
{
    // The error is taken as handled.
    if (result) {
        ::VariantInit(result);
        result->vt = VT_BOOL;
        result->boolVal = VARIANT_TRUE;
    }
    return S_OK;
}
