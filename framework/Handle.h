#pragma once

#include <windows.h>

#include <cstdint>

// One owner for every kind of handle: closes what it holds when it goes out of
// scope or is given another handle. The invalid value (null for most kinds,
// -1 for files) means "holds nothing".
template <typename HandleType, void (*CloseHandleFunction)(HandleType), std::intptr_t kInvalid = 0>
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
    explicit operator bool() const { return m_handle != Invalid(); }

    void reset(HandleType handle = Invalid())
    {
        if (m_handle != Invalid() && m_handle != handle)
            CloseHandleFunction(m_handle);
        m_handle = handle;
    }
    HandleType release()
    {
        HandleType handle = m_handle;
        m_handle = Invalid();
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
    static HandleType Invalid() { return reinterpret_cast<HandleType>(kInvalid); }

    HandleType m_handle = Invalid();
};

namespace handle_close
{
inline void RegistryKey(HKEY key) { ::RegCloseKey(key); }
inline void KernelObject(HANDLE handle) { ::CloseHandle(handle); }
inline void Module(HMODULE module) { ::FreeLibrary(module); }
inline void LocalMemory(HLOCAL memory) { ::LocalFree(memory); }
inline void EventSource(HANDLE source) { ::DeregisterEventSource(source); }
inline void Icon(HICON icon) { ::DestroyIcon(icon); }
template <typename GdiHandle>
void GdiObject(GdiHandle object) { ::DeleteObject(object); }
} // namespace handle_close

using CKernelHandle = CHandleT<HANDLE, handle_close::KernelObject>;
using CFileHandle = CHandleT<HANDLE, handle_close::KernelObject, -1>;
using CModuleHandle = CHandleT<HMODULE, handle_close::Module>;
using CLocalMemory = CHandleT<HLOCAL, handle_close::LocalMemory>;
using CRegKeyHandle = CHandleT<HKEY, handle_close::RegistryKey>;
using CEventSourceHandle = CHandleT<HANDLE, handle_close::EventSource>;
using CIconHandle = CHandleT<HICON, handle_close::Icon>;
template <typename GdiHandle>
using CGdiObjectT = CHandleT<GdiHandle, handle_close::GdiObject<GdiHandle>>;
