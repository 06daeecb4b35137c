#include "Object.h"
#include <vector>

const CRuntimeClass CObject::classCObject = {"CObject", nullptr, nullptr};

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == base)
            return true;
    return false;
}

static std::vector<const CRuntimeClass*>& Registry()
{
    static std::vector<const CRuntimeClass*> classes;
    return classes;
}

CRuntimeClassRegistration::CRuntimeClassRegistration(const CRuntimeClass* cls)
{
    Registry().push_back(cls);
}

const CRuntimeClass* CRuntimeClass::FromName(const char* name)
{
    for (const CRuntimeClass* c : Registry())
        if (std::strcmp(c->m_lpszClassName, name) == 0)
            return c;
    return nullptr;
}
