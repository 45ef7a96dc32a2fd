#include "framework/WinApp.h"

#include "framework/RegKey.h"

#include <vector>

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

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0)
    {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
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

// Only string types count; any other type, or data that changes between the
// two reads, gives the default. The result ends at the data's first NUL, and
// data stored without one is terminated here.
std::string CWinApp::GetProfileString(const char* section, const char* entry,
                                      const char* defaultValue)
{
    const std::string fallback = defaultValue != nullptr ? defaultValue : "";
    CRegKey key;
    if (OpenSectionKey(section, key) != ERROR_SUCCESS)
        return fallback;

    DWORD type = REG_NONE;
    DWORD size = 0;
    if (::RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS
        || (type != REG_SZ && type != REG_EXPAND_SZ))
        return fallback;

    std::vector<BYTE> data(static_cast<size_t>(size) + 1, 0);
    DWORD readSize = size;
    if (::RegQueryValueExA(key, entry, nullptr, &type, data.data(), &readSize) != ERROR_SUCCESS
        || (type != REG_SZ && type != REG_EXPAND_SZ))
        return fallback;
    return std::string(reinterpret_cast<const char*>(data.data()));
}

// Exactly four bytes of REG_DWORD count; anything else gives the default.
UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue)
{
    CRegKey key;
    if (OpenSectionKey(section, key) != ERROR_SUCCESS)
        return static_cast<UINT>(defaultValue);

    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (::RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size)
            != ERROR_SUCCESS
        || type != REG_DWORD || size != sizeof(value))
        return static_cast<UINT>(defaultValue);
    return value;
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value)
{
    CRegKey key;
    if (OpenSectionKey(section, key) != ERROR_SUCCESS)
        return FALSE;
    const std::string text = value != nullptr ? value : "";
    return ::RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1))
           == ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value)
{
    CRegKey key;
    if (OpenSectionKey(section, key) != ERROR_SUCCESS)
        return FALSE;
    const DWORD data = static_cast<DWORD>(value);
    return ::RegSetValueExA(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                            sizeof(data))
           == ERROR_SUCCESS;
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
