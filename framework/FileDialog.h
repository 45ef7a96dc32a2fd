#pragma once

#include "framework/Wnd.h"

#include <commdlg.h>

#include <string>

// The system's open-file dialog. The filter uses the framework's notation:
// pairs of display text and patterns, all separated by "|" and ended by "||".
class CFileDialog
{
public:
    CFileDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName,
                DWORD flags, const char* filter, CWnd* parent);

    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    INT_PTR DoModal();
    std::string GetPathName() const { return m_fileName; }

    OPENFILENAMEA m_ofn;

private:
    std::string m_filter;
    std::string m_defaultExtension;
    // MAX_PATH characters, each up to three bytes in UTF-8.
    char m_fileName[MAX_PATH * 3];
};
