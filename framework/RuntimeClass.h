#pragma once

// Run-time class information: a class's name and its base, for type queries.
struct CRuntimeClass
{
    const char* m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;

    bool IsDerivedFrom(const CRuntimeClass* base) const
    {
        for (const CRuntimeClass* c = this; c != nullptr; c = c->m_pBaseClass)
            if (c == base)
                return true;
        return false;
    }
};

#define RUNTIME_CLASS(theClass) (&theClass::class##theClass)

#define DECLARE_DYNAMIC(theClass)                                                        \
public:                                                                                  \
    static const CRuntimeClass class##theClass;                                          \
    const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(theClass, baseClass)                                           \
    const CRuntimeClass theClass::class##theClass = {#theClass, RUNTIME_CLASS(baseClass)}; \
    const CRuntimeClass* theClass::GetRuntimeClass() const                               \
    {                                                                                    \
        return &theClass::class##theClass;                                               \
    }
