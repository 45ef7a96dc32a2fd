#include "framework/ResourceString.h"

#include "framework/AnsiText.h"
#include "framework/WinApp.h"

std::string ResourceString(UINT id)
{
    CWinApp* app = AfxGetApp();
    const HINSTANCE instance =
        app != nullptr && app->m_hInstance != nullptr ? app->m_hInstance : ::GetModuleHandleA(nullptr);
    // Length 0 asks for the resource's own text, read-only and not terminated.
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(instance, id, reinterpret_cast<wchar_t*>(&text), 0);
    std::string ansi;
    if (length <= 0 || !WideToAnsi(std::wstring(text, static_cast<size_t>(length)).c_str(), ansi))
        return std::string();
    return ansi;
}
