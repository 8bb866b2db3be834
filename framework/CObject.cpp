#include "CObject.h"
#include "CArchive.h"
#include "CException.h"

#include <string.h>

namespace {
CRuntimeClass* g_firstClass = NULL;
CRITICAL_SECTION* ClassLock()
{
    static CRITICAL_SECTION cs;
    static const bool ready = (InitializeCriticalSection(&cs), true);
    (void)ready;
    return &cs;
}
} // namespace

void* AFXAPI AfxAlloc(size_t n)
{
    void* p = HeapAlloc(GetProcessHeap(), 0, n ? n : 1);
    if (!p)
        AfxThrowMemoryException();
    return p;
}

void AFXAPI AfxFree(void* p)
{
    if (p)
        HeapFree(GetProcessHeap(), 0, p);
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass)
{
    EnterCriticalSection(ClassLock());
    pNewClass->m_pNextClass = g_firstClass;
    g_firstClass = pNewClass;
    LeaveCriticalSection(ClassLock());
}

CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, NULL, NULL, NULL};
static const AFX_CLASSINIT _init_CObject(&CObject::classCObject);

CRuntimeClass* PASCAL CObject::GetThisClass() { return &classCObject; }
CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

void CObject::Serialize(CArchive&) {}

CObject* CRuntimeClass::CreateObject()
{
    if (!m_pfnCreateObject)
        return NULL;
    return (*m_pfnCreateObject)();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass)
        if (p == pBaseClass)
            return TRUE;
    return FALSE;
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (!lpszClassName)
        return NULL;
    CRuntimeClass* found = NULL;
    EnterCriticalSection(ClassLock());
    for (CRuntimeClass* p = g_firstClass; p; p = p->m_pNextClass)
        if (strcmp(p->m_lpszClassName, lpszClassName) == 0) {
            found = p;
            break;
        }
    LeaveCriticalSection(ClassLock());
    return found;
}

CObject* PASCAL CRuntimeClass::CreateObject(LPCSTR lpszClassName)
{
    CRuntimeClass* p = FromName(lpszClassName);
    return p ? p->CreateObject() : NULL;
}

void CRuntimeClass::Store(CArchive& ar) const
{
    WORD len = (WORD)strlen(m_lpszClassName);
    ar << (WORD)m_wSchema;
    ar << len;
    ar.Write(m_lpszClassName, len);
}

CRuntimeClass* PASCAL CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum)
{
    WORD schema = 0, len = 0;
    ar >> schema >> len;
    char name[64];
    if (len >= sizeof(name) || ar.Read(name, len) != len)
        return NULL;
    name[len] = 0;
    if (pwSchemaNum)
        *pwSchemaNum = schema;
    return FromName(name);
}
