#include "framework/FileDialog.h"

#include <cstring>

CFileDialog::CFileDialog(BOOL, const char* defaultExtension, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent)
    : m_ofn(), m_fileName()
{
    if (filter != nullptr)
    {
        m_filter = filter;
        for (char& c : m_filter)
            if (c == '|')
                c = '\0';
    }
    if (defaultExtension != nullptr)
        m_defaultExtension = defaultExtension;
    if (fileName != nullptr)
        std::strncpy(m_fileName, fileName, sizeof(m_fileName) - 1);

    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hwndOwner = parent != nullptr ? parent->GetSafeHwnd() : nullptr;
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_fileName;
    m_ofn.nMaxFile = sizeof(m_fileName);
    m_ofn.lpstrDefExt = m_defaultExtension.empty() ? nullptr : m_defaultExtension.c_str();
    m_ofn.Flags = flags | OFN_EXPLORER;
}

// The common dialogs' library (and the shell it brings along) is loaded
// only when a user browses, which keeps it out of every start. It stays
// loaded: the shell's threads may still run its code after the dialog closed.
INT_PTR CFileDialog::DoModal()
{
    using GetOpenFileNameFunction = BOOL(WINAPI*)(OPENFILENAMEA*);
    HMODULE library = ::LoadLibraryA("comdlg32.dll");
    if (library == nullptr)
        return IDCANCEL;
    const auto getOpenFileName = reinterpret_cast<GetOpenFileNameFunction>(
        reinterpret_cast<void*>(::GetProcAddress(library, "GetOpenFileNameA")));
    const BOOL chosen = getOpenFileName != nullptr && getOpenFileName(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}
