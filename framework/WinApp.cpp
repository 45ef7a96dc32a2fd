#include "framework/WinApp.h"

#include "framework/RegKey.h"
#include "framework/StringFormat.h"

namespace
{
CWinApp* currentApp = nullptr;

constexpr REGSAM kSectionAccess = KEY_READ | KEY_WRITE;

std::string LoadResourceString(HINSTANCE instance, UINT id)
{
    char buffer[256] = "";
    const int length = ::LoadStringA(instance, id, buffer, sizeof(buffer));
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}
} // namespace

CWinApp* AfxGetApp()
{
    return currentApp;
}

CWinApp::CWinApp(const char* appName)
{
    if (appName != nullptr)
        m_pszAppName = appName;
    if (currentApp == nullptr)
        currentApp = this;
}

CWinApp::~CWinApp()
{
    if (currentApp == this)
        currentApp = nullptr;
}

BOOL CWinApp::OnCmdMsg(UINT)
{
    return FALSE;
}

void CWinApp::OnHelp()
{
    WinHelp(m_dwPromptContext, HELP_CONTEXT);
}

void CWinApp::WinHelp(DWORD_PTR, UINT)
{
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0)
    {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return ExitInstance();
}

int CWinApp::ExitInstance()
{
    return 0;
}

void CWinApp::SetCurrentHandles(HINSTANCE instance)
{
    m_hInstance = instance;
    if (m_pszAppName.empty())
        m_pszAppName = LoadResourceString(instance, AFX_IDS_APP_TITLE);
}

void CWinApp::SetRegistryKey(const char* registryKey)
{
    m_pszRegistryKey = registryKey != nullptr ? registryKey : "";
    m_pszProfileName = m_pszAppName;
}

std::string CWinApp::GetProfileKeyPath() const
{
    return FormatString("software\\%s\\%s", m_pszRegistryKey.c_str(), m_pszProfileName.c_str());
}

LONG CWinApp::OpenSectionKey(const char* section, CRegKey& key) const
{
    if (m_pszRegistryKey.empty() || m_pszProfileName.empty())
        return ERROR_INVALID_FUNCTION;

    CRegKey software;
    LONG result = software.Open(HKEY_CURRENT_USER, "software", kSectionAccess);
    if (result != ERROR_SUCCESS)
        return result;
    CRegKey company;
    result = company.Create(software, m_pszRegistryKey.c_str(), kSectionAccess);
    if (result != ERROR_SUCCESS)
        return result;
    CRegKey profile;
    result = profile.Create(company, m_pszProfileName.c_str(), kSectionAccess);
    if (result != ERROR_SUCCESS)
        return result;
    return key.Create(profile, section, kSectionAccess);
}

LONG CWinApp::OpenSectionKeyToRead(const char* section, CRegKey& key) const
{
    const LONG result = OpenSectionKey(section, key);
    if (result == ERROR_SUCCESS || m_pszRegistryKey.empty() || m_pszProfileName.empty())
        return result;
    return key.Open(HKEY_CURRENT_USER, FormatString("%s\\%s", GetProfileKeyPath().c_str(), section).c_str(), KEY_READ);
}

std::string CWinApp::GetProfileString(const char* section, const char* entry,
                                      const char* defaultValue) const
{
    std::string value;
    CRegKey key;
    if (OpenSectionKeyToRead(section, key) != ERROR_SUCCESS
        || key.QueryStringValue(entry, value) != ERROR_SUCCESS)
        return defaultValue != nullptr ? defaultValue : "";
    return value;
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue) const
{
    DWORD value = 0;
    CRegKey key;
    if (OpenSectionKeyToRead(section, key) != ERROR_SUCCESS
        || key.QueryDWORDValue(entry, value) != ERROR_SUCCESS)
        return static_cast<UINT>(defaultValue);
    return value;
}

int AfxWinMain(HINSTANCE instance)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return -1;
    app->SetCurrentHandles(instance);
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
