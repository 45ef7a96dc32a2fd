#pragma once

#include "app/EventRecords.h"
#include "framework/EventLog.h"
#include "framework/WinApp.h"
#include "settings/Companions.h"
#include "settings/RegistryNames.h"
#include "settings/RegistryWriter.h"
#include "settings/SlotSettings.h"
#include "settings/SlotStore.h"

#include <string>

class CAutostartCommandLineInfo;

// The application: reads the command line, loads one slot and runs exactly one
// dialog, the countdown (launch mode) or the settings (configuration mode).
class CAutostartApp : public CWinApp
{
public:
    CAutostartApp();
    ~CAutostartApp() override;

    BOOL InitInstance() override;
    // The answer of /status; 0 otherwise.
    int ExitInstance() override;

    // Everything InitInstance does after constructing its parser.
    void Start(CAutostartCommandLineInfo& parser);

    static std::string GetExePath();

    // Finds the suite's programs and reads the slot.
    void LoadSettings();
    std::string GetZentorPath() const { return companions.zentorPath; }
    std::string GetOrbxPlayerPath() const { return companions.orbxPlayerPath; }

    // Stores the slot and registers it (or removes both, for Disable), then
    // tells the user how it went. True when all was saved.
    bool SaveSettings(const SlotSettings& values);

    // The command map: the Help command goes to the default help handler.
    BOOL OnCmdMsg(UINT id) override;
    // Help without a manual at hand: a box on top of the settings with the
    // program's own text, after the tooltip of the control F1 was pressed on.
    void WinHelp(DWORD_PTR context, UINT command) override;

    int slot = 0;
    bool runRequested = false;
    // The settings of the slot asked for, whatever it has stored.
    bool settingsRequested = false;
    SlotSettings settings;
    Companions companions;
    std::string exePath;
    int exitCode = 0;

protected:
    // The two modes, each running its one modal dialog.
    virtual void RunLaunchMode();
    virtual void RunConfigurationMode();

    CSlotStore Store() { return CSlotStore(*this, registryWriter); }
    CEventRecords Records() { return CEventRecords(eventLog, slot); }

private:
    CRegistryWriter registryWriter;
    CEventLog eventLog{regnames::kEventSource};
};
