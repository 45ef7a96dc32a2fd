#pragma once

#include <windows.h>

// One owner for every kind of handle: closes what it holds when it goes out of
// scope or is given another handle. Null means "holds nothing".
template <typename HandleType, void (*CloseHandleFunction)(HandleType)>
class CHandleT
{
public:
    CHandleT() = default;
    explicit CHandleT(HandleType handle) : m_handle(handle) {}
    ~CHandleT() { reset(); }

    CHandleT(const CHandleT&) = delete;
    CHandleT& operator=(const CHandleT&) = delete;
    CHandleT(CHandleT&& other) noexcept : m_handle(other.release()) {}
    CHandleT& operator=(CHandleT&& other) noexcept
    {
        reset(other.release());
        return *this;
    }

    HandleType get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

    void reset(HandleType handle = nullptr)
    {
        if (m_handle != nullptr && m_handle != handle)
            CloseHandleFunction(m_handle);
        m_handle = handle;
    }
    HandleType release()
    {
        HandleType handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    // For calls that hand a new handle out through a pointer; what was held
    // is closed first.
    HandleType* put()
    {
        reset();
        return &m_handle;
    }

private:
    HandleType m_handle = nullptr;
};

namespace handle_close
{
inline void RegistryKey(HKEY key) { ::RegCloseKey(key); }
inline void KernelObject(HANDLE handle) { ::CloseHandle(handle); }
inline void Module(HMODULE module) { ::FreeLibrary(module); }
inline void LocalMemory(HLOCAL memory) { ::LocalFree(memory); }
template <typename GdiHandle>
void GdiObject(GdiHandle object) { ::DeleteObject(object); }
} // namespace handle_close

using CKernelHandle = CHandleT<HANDLE, handle_close::KernelObject>;
using CModuleHandle = CHandleT<HMODULE, handle_close::Module>;
using CLocalMemory = CHandleT<HLOCAL, handle_close::LocalMemory>;
using CRegKeyHandle = CHandleT<HKEY, handle_close::RegistryKey>;
template <typename GdiHandle>
using CGdiObjectT = CHandleT<GdiHandle, handle_close::GdiObject<GdiHandle>>;
