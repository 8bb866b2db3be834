#pragma once
#include "AfxDefs.h"

// Run-time class information kept by hand, without the compiler's RTTI: every
// class that declares DECLARE_DYNAMIC/DYNCREATE/SERIAL has one static
// CRuntimeClass naming it, its base and, when creatable, its factory.
struct CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema; // 0xFFFF for classes that cannot be serialised
    CObject*(PASCAL* m_pfnCreateObject)();
    CRuntimeClass* m_pBaseClass;
    CRuntimeClass* m_pNextClass; // registered classes, for creation by name

    CObject* CreateObject();
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // Archive form of a class reference: schema, name length, name.
    void Store(CArchive& ar) const;
    static CRuntimeClass* PASCAL Load(CArchive& ar, UINT* pwSchemaNum);

    // The registered class of that name, or null.
    static CRuntimeClass* PASCAL FromName(LPCSTR lpszClassName);
    static CObject* PASCAL CreateObject(LPCSTR lpszClassName);
};

// Adds a class to the list searched by CRuntimeClass::FromName.
struct AFX_CLASSINIT
{
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

class CObject
{
public:
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() {}

    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const;
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const {}

    static CRuntimeClass classCObject;
    static CRuntimeClass* PASCAL GetThisClass();

protected:
    CObject() {}

private:
    CObject(const CObject&) = delete;
    void operator=(const CObject&) = delete;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())
#define _RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static CRuntimeClass class##class_name;                                                        \
    static CRuntimeClass* PASCAL GetThisClass();                                                   \
    virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static CObject* PASCAL CreateObject();

#define DECLARE_SERIAL(class_name)                                                                 \
    DECLARE_DYNCREATE(class_name)                                                                  \
    friend CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                       \
    CRuntimeClass class_name::class##class_name = {                                                \
        #class_name, sizeof(class class_name),        wSchema,                                     \
        pfnNew,      _RUNTIME_CLASS(base_class_name), NULL};                                       \
    static const AFX_CLASSINIT _init_##class_name(&class_name::class##class_name);                 \
    CRuntimeClass* PASCAL class_name::GetThisClass() { return _RUNTIME_CLASS(class_name); }        \
    CRuntimeClass* class_name::GetRuntimeClass() const { return _RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, NULL)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CObject* PASCAL class_name::CreateObject() { return new class_name; }                          \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                     \
    CObject* PASCAL class_name::CreateObject() { return new class_name; }                          \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)         \
    CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb)                                    \
    {                                                                                              \
        pOb = (class_name*)ar.ReadObject(RUNTIME_CLASS(class_name));                               \
        return ar;                                                                                 \
    }

#define VERSIONABLE_SCHEMA (0x80000000)

// Checked down-cast by run-time class: null when the object is of another kind.
#define DYNAMIC_DOWNCAST(class_name, object)                                                       \
    ((object) != NULL && (object)->IsKindOf(RUNTIME_CLASS(class_name))                             \
         ? static_cast<class_name*>(object)                                                        \
         : (class_name*)NULL)
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))
