// The real tool against what other tools and people may leave in the
// registry or put on its command line: it must neither crash nor read out of
// bounds, take the documented default where a read fails, and then behave as
// the loaded values say.
#include "tests/support/Probe.h"
#include "tests/support/Process.h"
#include "tests/support/Registry.h"
#include "tests/support/SettingsSession.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowDriver.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace
{
const char kZentorKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\vaxo Zentor";
const char kOrbxKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ORBX Player";

enum class Shown
{
    Nothing,
    Countdown,
    Settings,
    ErrorBox,
};

const char* Name(Shown shown)
{
    switch (shown)
    {
    case Shown::Nothing: return "nothing";
    case Shown::Countdown: return "the countdown";
    case Shown::Settings: return "the settings";
    case Shown::ErrorBox: return "an error box";
    }
    return "?";
}

struct Observed
{
    std::vector<std::string> messages;  // boxes of the framework answered on the way
    Shown shown = Shown::Nothing;
    std::string countdownLabel;
    SettingsFields settings;
    std::string errorText;
    bool ended = false;
};

// Starts the tool, sees what it shows first, closes it and waits for its end.
Observed Observe(const std::string& arguments)
{
    Observed observed;
    DWORD processId = 0;
    const CKernelHandle process = StartProcess("\"" + KestrupExePath() + "\" " + arguments, &processId);
    if (!process)
        return observed;
    HWND window = nullptr;
    for (int i = 0; i < 1500 && window == nullptr; ++i)
    {
        if (::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0)
            break;
        window = windows::WaitFor([processId](HWND w) {
            return windows::IsVisibleDialog(w) && windows::BelongsToProcess(w, processId);
        }, 20);
        // A message of the framework (a field it refused) comes before the dialog.
        if (window != nullptr && windows::Text(window) == "vaxo Kestrup V3.6"
            && ::GetDlgItem(window, IDC_APP_PATH) == nullptr && observed.messages.size() < 5)
        {
            observed.messages.push_back(windows::MessageBoxText(window));
            windows::Press(window, IDOK);
            for (int wait = 0; wait < 250 && ::IsWindowVisible(window); ++wait)
                ::Sleep(20);
            window = nullptr;
        }
    }
    if (window != nullptr)
    {
        if (::GetDlgItem(window, IDC_APP_PATH) != nullptr)
        {
            observed.shown = Shown::Settings;
            SettingsSession session(processId, true);
            observed.settings = session.Read();
            session.Click(IDCANCEL);
        }
        else if (windows::Text(window) == "Error")
        {
            observed.shown = Shown::ErrorBox;
            observed.errorText = windows::MessageBoxText(window);
            windows::Press(window, IDOK);
        }
        else
        {
            observed.shown = Shown::Countdown;
            observed.countdownLabel = windows::ControlText(window, IDC_WAIT_SECONDS);
            windows::Press(window, IDCANCEL);
        }
    }
    // The process may still show an error box (a countdown of 0 seconds
    // shows its window only for a moment before it starts the program).
    if (observed.shown == Shown::Countdown || observed.shown == Shown::Nothing)
    {
        HWND box = windows::WaitFor([processId](HWND w) {
            return windows::IsVisibleDialog(w) && windows::BelongsToProcess(w, processId)
                   && windows::Text(w) == "Error";
        }, 2000);
        if (box != nullptr)
        {
            observed.shown = Shown::ErrorBox;
            observed.errorText = windows::MessageBoxText(box);
            windows::Press(box, IDOK);
        }
    }
    observed.ended = ::WaitForSingleObject(process.get(), 30000) == WAIT_OBJECT_0;
    if (!observed.ended)
        ::TerminateProcess(process.get(), 1);
    return observed;
}

class HostileInputTest : public ::testing::Test
{
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kCompanyKey);
        testreg::DeleteTree(HKEY_LOCAL_MACHINE, kZentorKey);
        testreg::DeleteTree(HKEY_LOCAL_MACHINE, kOrbxKey);
    }
};

struct StoredValue
{
    const char* name;
    DWORD type;
    std::string data;
};

struct RegistryCase
{
    const char* description;
    std::vector<StoredValue> slot8;
    Shown expected;
    const char* expectedLabel;   // countdown
    const char* expectedAppPath; // settings
};

class HostileRegistryTest : public HostileInputTest, public ::testing::WithParamInterface<RegistryCase>
{
};

TEST_P(HostileRegistryTest, LoadsWithDefaultsAndBehavesAsLoaded)
{
    const RegistryCase& row = GetParam();
    const std::string key = testreg::SlotKey(8);
    for (const StoredValue& value : row.slot8)
        testreg::SetBytes(HKEY_CURRENT_USER, key.c_str(), value.name, value.type, value.data.data(),
                          static_cast<DWORD>(value.data.size()));

    const Observed observed = Observe("/run 8");
    EXPECT_STREQ(Name(row.expected), Name(observed.shown)) << row.description;
    EXPECT_TRUE(observed.ended) << row.description;
    if (row.expected == Shown::Countdown)
    {
        EXPECT_EQ(row.expectedLabel, observed.countdownLabel) << row.description;
    }
    if (row.expected == Shown::Settings)
    {
        EXPECT_EQ(row.expectedAppPath, observed.settings.appPath) << row.description;
    }
}

std::string Sz(const std::string& text)
{
    return std::string(text.c_str(), text.size() + 1);
}
std::string Dword(DWORD value)
{
    return std::string(reinterpret_cast<const char*>(&value), 4);
}
const std::string kApp = Sz("C:\\Apps\\show.exe");
const std::string kHuge(65536, 'h');

INSTANTIATE_TEST_SUITE_P(
    Values, HostileRegistryTest,
    ::testing::Values(
        RegistryCase{"AppPath as DWORD", {{"AppPath", REG_DWORD, Dword(7)}}, Shown::Settings, "", ""},
        RegistryCase{"AppPath binary without NUL", {{"AppPath", REG_BINARY, "C:\\x.exe"}},
                     Shown::Settings, "", ""},
        RegistryCase{"AppPath expandable", {{"AppPath", REG_EXPAND_SZ, kApp}, {"Delay", REG_DWORD, Dword(9)}},
                     Shown::Countdown, "9", ""},
        RegistryCase{"AppPath of 64 KiB", {{"AppPath", REG_SZ, Sz(kHuge)}, {"Delay", REG_DWORD, Dword(3)}},
                     Shown::Countdown, "3", ""},
        RegistryCase{"Delay as string", {{"AppPath", REG_SZ, kApp}, {"Delay", REG_SZ, Sz("5")}},
                     Shown::Countdown, "20", ""},
        RegistryCase{"Delay of 8 bytes", {{"AppPath", REG_SZ, kApp}, {"Delay", REG_QWORD, Dword(5) + Dword(0)}},
                     Shown::Countdown, "20", ""},
        RegistryCase{"Delay binary of 4 bytes", {{"AppPath", REG_SZ, kApp}, {"Delay", REG_BINARY, Dword(5)}},
                     Shown::Countdown, "20", ""},
        RegistryCase{"Kiosk and Mode as strings, no program",
                     {{"Kiosk", REG_SZ, Sz("1")}, {"Mode", REG_SZ, Sz("3")}}, Shown::Settings, "", ""},
        RegistryCase{"Mode of 8 bytes with a program path, not in launch",
                     {{"Mode", REG_QWORD, Dword(3) + Dword(0)}, {"AppPath", REG_DWORD, Dword(1)}},
                     Shown::Settings, "", ""},
        RegistryCase{"ShowPath and Parameter of 64 KiB",
                     {{"AppPath", REG_SZ, kApp}, {"ShowPath", REG_SZ, Sz(kHuge)},
                      {"Parameter", REG_BINARY, kHuge}, {"Delay", REG_DWORD, Dword(4)}},
                     Shown::Countdown, "4", ""}));

TEST_F(HostileInputTest, HugeValuesReachTheSettingsWithoutHarm)
{
    const std::string key = testreg::SlotKey(0);
    testreg::SetString(HKEY_CURRENT_USER, key.c_str(), "AppPath", kHuge);
    testreg::SetString(HKEY_CURRENT_USER, key.c_str(), "ShowPath", kHuge);
    testreg::SetString(HKEY_CURRENT_USER, key.c_str(), "Parameter", kHuge);
    testreg::SetDword(HKEY_CURRENT_USER, key.c_str(), "Mode", 3);
    const Observed observed = Observe("");
    EXPECT_STREQ(Name(Shown::Settings), Name(observed.shown));
    EXPECT_EQ(std::vector<std::string>{}, observed.messages)
        << "a stored path longer than the field takes is shown as stored";
    EXPECT_EQ(kHuge.size(), observed.settings.parameter.size());
    EXPECT_TRUE(kHuge == observed.settings.parameter);
    EXPECT_TRUE(observed.ended);
}

TEST_F(HostileInputTest, UninstallStringsOfTheWrongTypeLeaveTheCompanionsAbsent)
{
    testreg::SetDword(HKEY_LOCAL_MACHINE, kZentorKey, "UninstallString", 0x5C3A43);  // "C:\"
    const std::string longBinary(300, 'b');
    testreg::SetBytes(HKEY_LOCAL_MACHINE, kOrbxKey, "UninstallString", REG_BINARY,
                      longBinary.data(), static_cast<DWORD>(longBinary.size()));
    const Observed observed = Observe("");
    ASSERT_STREQ(Name(Shown::Settings), Name(observed.shown));
    EXPECT_FALSE(observed.settings.zentorEnabled);
    EXPECT_FALSE(observed.settings.orbxEnabled);
}

struct CommandLineCase
{
    const char* description;
    std::string arguments;
    Shown expected;
    int slotKeyLeft;  // the slot whose key the load leaves behind; -100 for none
};

class HostileCommandLineTest : public HostileInputTest,
                               public ::testing::WithParamInterface<CommandLineCase>
{
};

TEST_P(HostileCommandLineTest, GivesTheDocumentedPairs)
{
    const CommandLineCase& row = GetParam();
    const Observed observed = Observe(row.arguments);
    EXPECT_STREQ(Name(row.expected), Name(observed.shown)) << row.description;
    EXPECT_TRUE(observed.ended) << row.description;
    if (row.slotKeyLeft == -100)
    {
        EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, testreg::kCompanyKey)) << row.description;
    }
    else
    {
        EXPECT_TRUE(testreg::KeyExists(HKEY_CURRENT_USER, testreg::SlotKey(row.slotKeyLeft).c_str()))
            << row.description;
    }
}

std::string LongArguments()
{
    std::string arguments = "/run 8";
    while (arguments.size() < 32000)
        arguments += " \"x\x01\xe9\"";
    return arguments;
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, HostileCommandLineTest,
    ::testing::Values(
        CommandLineCase{"32 KiB of arguments", LongArguments(), Shown::Settings, 8},
        CommandLineCase{"only quotes", "\" \" \"\" \"", Shown::Settings, 0},
        CommandLineCase{"only prefixes", "/ - / - -- //", Shown::Settings, 0},
        CommandLineCase{"tab between switch and slot", "/run\t8", Shown::Settings, 0},
        CommandLineCase{"control characters and high bytes", "/run \x01\x7f\xe9\xff", Shown::Settings, 0},
        CommandLineCase{"unterminated quote", "/run \"8", Shown::Settings, 8},
        CommandLineCase{"run at the very end", "/run 8 /run", Shown::Nothing, -100},
        CommandLineCase{"quoted empty slot", "/run \"\"", Shown::Nothing, -100}));

TEST_F(HostileInputTest, LaunchBeyondTheCommandLineLimitIsReported)
{
    TempFolder temp("hostile-launch");
    const std::string program = temp.Path() + "probe.exe";
    InstallProbe(program);
    ExpectProbeRecordAt(temp.Path() + "record.txt");
    const std::string key = testreg::SlotKey(8);
    testreg::SetString(HKEY_CURRENT_USER, key.c_str(), "AppPath", program);
    testreg::SetString(HKEY_CURRENT_USER, key.c_str(), "Parameter", std::string(40000, 'p'));
    testreg::SetDword(HKEY_CURRENT_USER, key.c_str(), "Delay", 0);

    const Observed observed = Observe("/run 8");
    ASSERT_STREQ(Name(Shown::ErrorBox), Name(observed.shown));
    EXPECT_NE(std::string::npos, observed.errorText.find("\nPath: ")) << observed.errorText;
    EXPECT_TRUE(observed.ended);
}
} // namespace
