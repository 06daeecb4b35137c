// Run-time class information and the common base of the applet's objects.
#pragma once
#include <cstring>

class CObject;

// Describes one class: its name, its base class and, for dynamically creatable classes, a factory.
struct CRuntimeClass {
    const char* m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;
    CObject* (*m_pfnCreateObject)();

    bool IsDerivedFrom(const CRuntimeClass* base) const;
    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    // Finds a dynamically creatable class by its registered name.
    static const CRuntimeClass* FromName(const char* name);
};

// Adds a class to the table searched by CRuntimeClass::FromName.
struct CRuntimeClassRegistration {
    explicit CRuntimeClassRegistration(const CRuntimeClass* cls);
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCObject; }
    bool IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }

    static const CRuntimeClass classCObject;
};

#define RUNTIME_CLASS(name) (&name::class##name)

#define DECLARE_DYNAMIC(name)                                               \
public:                                                                     \
    static const CRuntimeClass class##name;                                 \
    const CRuntimeClass* GetRuntimeClass() const override { return &class##name; }

#define IMPLEMENT_DYNAMIC(name, base) \
    const CRuntimeClass name::class##name = {#name, RUNTIME_CLASS(base), nullptr};

#define DECLARE_DYNCREATE(name) \
    DECLARE_DYNAMIC(name)       \
    static CObject* CreateObject();

#define IMPLEMENT_DYNCREATE(name, base)                                            \
    CObject* name::CreateObject() { return new name; }                            \
    const CRuntimeClass name::class##name = {#name, RUNTIME_CLASS(base), &name::CreateObject}; \
    static CRuntimeClassRegistration s_register##name(RUNTIME_CLASS(name));
