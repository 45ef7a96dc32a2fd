#pragma once

#include <windows.h>

#include <string>

class CRegKey;
class CWnd;

// The framework's application-title string: the application's name when it
// was constructed without one.
constexpr UINT AFX_IDS_APP_TITLE = 0xE000;
// The framework's Help command, which F1 in a dialog sends.
constexpr UINT ID_HELP = 0xE146;

// The application object. Exactly one exists at a time; the program entry
// drives it (AfxWinMain). Profile functions work in registry mode only:
// HKEY_CURRENT_USER\software\<registry key>\<profile name>\<section>.
class CWinApp
{
public:
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();

    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    // Takes the module handle and, when no name was given, the name from the
    // application-title string.
    void SetCurrentHandles(HINSTANCE instance);
    void SetRegistryKey(const char* registryKey);

    // What cannot be read gives the default (see CRegKey for the types that
    // count). The section key is created when missing.
    std::string GetProfileString(const char* section, const char* entry,
                                 const char* defaultValue = nullptr) const;
    UINT GetProfileInt(const char* section, const char* entry, int defaultValue) const;

    // software\<registry key>\<profile name>, below HKEY_CURRENT_USER.
    std::string GetProfileKeyPath() const;
    // Opens the section key for reading and writing, creating what is missing.
    LONG OpenSectionKey(const char* section, CRegKey& key) const;
    // The same, but a key that may not be written (an administrator locked it)
    // is opened for reading only.
    LONG OpenSectionKeyToRead(const char* section, CRegKey& key) const;

    // The application's command map: commands that no window handled. FALSE
    // where it has no entry for the command.
    virtual BOOL OnCmdMsg(UINT id);
    // The default help handler: help for the prompt's context.
    void OnHelp();
    // Shows help for a context; without a help engine, nothing.
    virtual void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT);

    // The control F1 was pressed on (its id), 0 for the window as a whole.
    DWORD m_dwPromptContext = 0;
    std::string m_pszAppName;
    std::string m_pszRegistryKey;
    std::string m_pszProfileName;
    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();

// The program entry's work: name, InitInstance, message loop only when
// InitInstance succeeds, ExitInstance. Returns the process exit code.
int AfxWinMain(HINSTANCE instance);
