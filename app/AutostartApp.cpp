#include "app/AutostartApp.h"

#include "app/AutostartCommandLineInfo.h"
#include "app/ConsoleSessionRun.h"
#include "app/LaunchMode.h"
#include "app/RemoteRequest.h"
#include "app/RunSwitch.h"
#include "app/StatusQuery.h"
#include "framework/MessageBox.h"
#include "framework/Paths.h"
#include "framework/Wnd.h"
#include "settings/RegistryNames.h"
#include "ui/SettingsDialog.h"
#include "ui/WaitDialog.h"

#include <commctrl.h>

#include <vector>

namespace
{
// How long a command passed on to the console user's session is waited for.
constexpr DWORD kRelayWaitMs = 30000;
} // namespace

CAutostartApp::CAutostartApp() = default;

CAutostartApp::~CAutostartApp() = default;

int CAutostartApp::ExitInstance()
{
    return exitCode;
}

BOOL CAutostartApp::InitInstance()
{
    CAutostartCommandLineInfo parser;
    Start(parser);
    return FALSE;
}

void CAutostartApp::Start(CAutostartCommandLineInfo& parser)
{
    std::string switchName;
    std::string value;
    std::string relayedFor;
    exePath = GetExePath();

    for (bool read = parser.GetFirstPair(switchName, value); read;
         read = parser.GetNextPair(switchName, value))
    {
        const bool settingsSwitch = IsSettingsSwitch(switchName);
        if (IsViaSwitch(switchName))
        {
            relayedFor = value;
            continue;
        }
        const bool answers = IsStatusSwitch(switchName) || IsRestartSwitch(switchName) || IsStopSwitch(switchName);
        // A run passed on is never passed on again.
        if ((answers || IsRunSwitch(switchName)) && relayedFor.empty()
            && NeedsRelay(RunsAsSystem(), SessionOfThisProcess()))
        {
            std::string line;
            const RelayRun run = RunInConsoleSession(
                RelayedCommandLine(exePath, switchName, value, AskerOfThisRun()), kRelayWaitMs);
            exitCode = RelayAnswer(run, IsRunSwitch(switchName), line);
            PrintLine(line);
            return;
        }
        if (IsStatusSwitch(switchName))
        {
            // Read before anything is made: a query creates no slot key.
            SetRegistryKey(regnames::kCompanyKey);
            exitCode = AnswerStatus(Store(), value.empty(), ReadSlotNumber(value));
            return;
        }
        if (IsRestartSwitch(switchName) || IsStopSwitch(switchName))
        {
            // As a run switch, nothing without a slot.
            SetRegistryKey(regnames::kCompanyKey);
            exitCode = value.empty() ? 2
                                     : AskKeeper(Store(), ReadSlotNumber(value), IsStopSwitch(switchName), relayedFor);
            return;
        }
        if (!settingsSwitch && !IsRunSwitch(switchName))
            continue;
        slot = ReadSlotNumber(value);
        if (settingsSwitch)
        {
            settingsRequested = true;
            continue;
        }
        // A run switch without a slot ends the program before anything is
        // shown or read.
        if (value.empty())
            return;
        runRequested = true;
    }

    ::InitCommonControls();
    CWinApp::InitInstance();
    SetRegistryKey(regnames::kCompanyKey);
    LoadSettings();

    if (runRequested && !settingsRequested && !settings.appPath.empty())
        RunLaunchMode();
    else
        RunConfigurationMode();
}

// The full path however long it is, in a form the ANSI code page can write
// (empty where there is none): the Run value written from it has to name this
// very file.
std::string CAutostartApp::GetExePath()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;)
    {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(),
                                                  static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size())
            return AnsiPath(buffer.data());
        buffer.resize(buffer.size() * 2);
    }
}

void CAutostartApp::LoadSettings()
{
    companions = DiscoverCompanions(companions);
    settings = Store().Load(slot);
}

bool CAutostartApp::SaveSettings(const SlotSettings& values)
{
    const std::string failure = Store().Save(slot, values, exePath);
    Records().RecordSave(values, failure);
    if (failure.empty())
    {
        AfxMessageBox("Settings successfully saved.", MB_OK | MB_ICONINFORMATION);
        return true;
    }
    // Owned by the settings dialog, which thus takes no second OK meanwhile.
    ::MessageBoxA(m_pMainWnd != nullptr ? m_pMainWnd->GetSafeHwnd() : nullptr, failure.c_str(),
                  "Error", MB_OK | MB_ICONERROR);
    return false;
}

void CAutostartApp::RunLaunchMode()
{
    CLaunchMode(slot, settings, Store(), Records()).Run();
}

void CAutostartApp::RunConfigurationMode()
{
    CSettingsDialog dialog(nullptr);
    m_pMainWnd = &dialog;
    dialog.SetCompanions(GetZentorPath(), GetOrbxPlayerPath());
    // A save adds a slot, or removes one, in the list.
    dialog.SetSaveAction([this, &dialog](const SlotSettings& values) {
        const bool saved = SaveSettings(values);
        dialog.SetSlots(slot, Store().List());
        return saved;
    });
    // Another slot chosen is the slot saved, and recorded, from then on; one
    // only looked at gets no key.
    dialog.SetLoadAction([this](int chosen) {
        slot = chosen;
        Store().LoadExisting(slot, settings);
        return settings;
    });
    dialog.SetSlots(slot, Store().List());
    dialog.SetValues(settings);
    dialog.DoModal();
}
