#pragma once

#include "framework/WinApp.h"

#include <string>

class CAutostartCommandLineInfo;
class CSettingsDialog;

// Kinds of program a slot starts, as stored under "Mode".
enum AppType
{
    AppTypeDisable = 0,
    AppTypeZentor = 1,
    AppTypeOrbxPlayer = 2,
    AppTypeUserDefined = 3,
};

// The application: reads the command line, loads one slot and runs exactly one
// dialog, the countdown (launch mode) or the settings (configuration mode).
// The slot store's operations live in settings/.
class CAutostartApp : public CWinApp
{
public:
    CAutostartApp();
    ~CAutostartApp() override;

    BOOL InitInstance() override;

    // Everything InitInstance does after constructing its parser.
    void Start(CAutostartCommandLineInfo& parser);

    static std::string GetExePath();

    // Slot store
    void LoadSettings();
    static std::string GetPathFolder(const std::string& path);
    BOOL HasZentor() const { return zentorPath.empty() ? 0 : 1; }
    BOOL HasOrbxPlayer() const { return orbxPlayerPath.empty() ? 0 : 1; }
    std::string GetZentorPath() const { return zentorPath; }
    std::string GetOrbxPlayerPath() const { return orbxPlayerPath; }

    // Saving and the autostart registration. Failures inside the save are
    // raised as a message text or as a RegistryError and reported in one
    // "Error" box after the slot has been reset.
    void SaveSettings(CSettingsDialog& dialog);
    LONG RemoveAutostart();
    virtual LONG SetRunValue(HKEY root, const char* valueName, const char* data);
    LONG DeleteRegValue(HKEY root, const char* subKey, const char* valueName);
    LONG DeleteRegKey(HKEY root, const char* subKey, const char* keyName);

    // The slot's settings, then the application's own paths.
    int slot = 0;
    int appType = AppTypeDisable;
    bool runRequested = false;
    std::string appPath;
    std::string showPath;
    std::string parameter;
    int kiosk = 0;
    int delay = 0;
    std::string zentorPath;
    std::string orbxPlayerPath;
    std::string exePath;

protected:
    // The two modes, each running its one modal dialog.
    virtual void RunLaunchMode();
    virtual void RunConfigurationMode();
};
