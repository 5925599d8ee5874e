// Run-time classes: CObject, CRuntimeClass and the DECLARE_/IMPLEMENT_
// macros that give a class its name, schema, factory and base class.
//
// Every class made with IMPLEMENT_DYNAMIC, IMPLEMENT_DYNCREATE or
// IMPLEMENT_SERIAL joins one process-wide registry by name when its shared
// library loads (and leaves it when the library unloads); archives create
// objects by the class names they read.
#pragma once

#include "platform/afx/types.h"

class CArchive;
class CObject;
class CDumpContext;

struct CRuntimeClass {
    LPCSTR m_lpszClassName;          // exactly the C++ class name
    int m_nObjectSize;               // sizeof the class
    UINT m_wSchema;                  // 0xFFFF: not serializable; may carry VERSIONABLE_SCHEMA
    CObject* (*m_pfnCreateObject)(); // null for dynamic and abstract classes
    CRuntimeClass* m_pBaseClass;     // null only for CObject

    // A new object of this class, or null when it has no factory.
    CObject* CreateObject() const;
    // True when this class is pClassBase or derives from it.
    BOOL IsDerivedFrom(const CRuntimeClass* pClassBase) const;

    // The registered class of that name, or null.
    static CRuntimeClass* FromName(LPCSTR lpszClassName);

    // The class record of an archive: schema word, name length word, name.
    void Store(CArchive& ar) const;
    // Reads a class record and looks the class up; null when it is unknown.
    static CRuntimeClass* Load(CArchive& ar, UINT* pwSchemaNum);
};

// Registers a class for the lifetime of the object (one per class, made by
// the IMPLEMENT_ macros at namespace scope).
struct AFX_CLASSINIT {
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
    ~AFX_CLASSINIT();
    AFX_CLASSINIT(const AFX_CLASSINIT&) = delete;
    AFX_CLASSINIT& operator=(const AFX_CLASSINIT&) = delete;

private:
    CRuntimeClass* m_pClass;
};

class CObject
{
public:
    static CRuntimeClass classCObject;
    using AfxThisClass = CObject;
    static CRuntimeClass* GetThisClass() { return &classCObject; }

    virtual CRuntimeClass* GetRuntimeClass() const;
    // Tells the loading archives of this thread that the object is gone.
    virtual ~CObject();
    // Writes or reads the object's own data; CObject has none.
    virtual void Serialize(CArchive& ar);
    // Diagnostic hooks; nothing to check or print at this level.
    virtual void AssertValid() const {}
    virtual void Dump(CDumpContext& dc) const;

    BOOL IsSerializable() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

protected:
    CObject() = default;
    // Derived classes may copy their base part; plain CObjects are not copied.
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

// Each class also names itself (AfxThisClass) and its run-time class
// (GetThisClass), for the typed archive reads.
#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static CRuntimeClass class##class_name;                                                        \
    using AfxThisClass = class_name;                                                               \
    static CRuntimeClass* GetThisClass() { return &class##class_name; }                            \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name)                                                                 \
    DECLARE_DYNCREATE(class_name)                                                                  \
    friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                       \
    CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class_name), (wSchema),     \
                                                   (pfnNew), RUNTIME_CLASS(base_class_name)};      \
    CRuntimeClass* class_name::GetRuntimeClass() const                                             \
    {                                                                                              \
        return RUNTIME_CLASS(class_name);                                                          \
    }                                                                                              \
    static const AFX_CLASSINIT afx_init_##class_name(RUNTIME_CLASS(class_name));

// A class whose objects know their class but are never created by name
// (schema 0xFFFF, no factory).
#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

// A class that can be created by name but is not archived by itself.
#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CObject* class_name::CreateObject()                                                            \
    {                                                                                              \
        return new class_name;                                                                     \
    }                                                                                              \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

// An archivable class with the given schema (VERSIONABLE_SCHEMA | n allowed).
// The serial macros need platform/afx/archive.h (or afx.h) where they are used.
#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                     \
    CObject* class_name::CreateObject()                                                            \
    {                                                                                              \
        return new class_name;                                                                     \
    }                                                                                              \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)         \
    CArchive& operator>>(CArchive& ar, class_name*& pOb)                                           \
    {                                                                                              \
        pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));                  \
        return ar;                                                                                 \
    }

// An abstract archivable class: it has a schema and a class record but no
// factory (an archive that names it cannot create it and fails as corrupt).
#define DECLARE_SERIAL_ABSTRACT(class_name)                                                        \
    DECLARE_DYNAMIC(class_name)                                                                    \
    friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_SERIAL_ABSTRACT(class_name, base_class_name, wSchema)                            \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, nullptr)                          \
    CArchive& operator>>(CArchive& ar, class_name*& pOb)                                           \
    {                                                                                              \
        pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));                  \
        return ar;                                                                                 \
    }
