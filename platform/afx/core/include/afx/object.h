// The framework's object model: CObject with run-time class information.
//
// A class that wants its run-time class known puts DECLARE_DYNAMIC(name) in
// its declaration and IMPLEMENT_DYNAMIC(name, base) in one source file;
// DECLARE_DYNCREATE / IMPLEMENT_DYNCREATE also give it a creation function so
// that CRuntimeClass::CreateObject can make one. RUNTIME_CLASS(name) is the
// CRuntimeClass of a class.
#pragma once

#include "win32/types.h"

class CObject;

struct CRuntimeClass {
    LPCSTR m_lpszClassName;                // the class name as written in the source
    int m_nObjectSize;                     // sizeof the class
    UINT m_wSchema;                        // 0xFFFF: not serialisable
    CObject* (*m_pfnCreateObject)();       // null unless the class is DYNCREATE
    CRuntimeClass* m_pBaseClass;           // null only for CObject

    // A new heap object of the class, or null when the class has no creation
    // function. The caller owns it.
    CObject* CreateObject() const;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

class CObject {
public:
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;

    static CRuntimeClass classCObject;

protected:
    CObject() = default;

public:
    // Objects are not copied through CObject; a derived class that wants
    // copies defines its own copy operations.
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

#define DECLARE_DYNAMIC(class_name)                  \
public:                                              \
    static CRuntimeClass class##class_name;          \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, create)                                   \
    CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)),    \
                                                   0xFFFFu, create, RUNTIME_CLASS(base_class_name)};      \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)          \
    CObject* class_name::CreateObject() { return new class_name; } \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, &class_name::CreateObject)
