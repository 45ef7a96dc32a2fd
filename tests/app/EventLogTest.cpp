// The entries the real program writes to the Application event log. Wine
// prints each inserted string of an entry on its debug channel "eventlog"
// (trace for information, warn for a warning, err for an error) to the
// standard error of the processes, which the test command keeps in a file.
#include "app/EventRecords.h"
#include "framework/SessionTimes.h"
#include "tests/support/Probe.h"
#include "tests/support/Process.h"
#include "tests/support/Registry.h"
#include "tests/support/SettingsSession.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowDriver.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <functional>
#include <vector>

namespace
{
struct Entry
{
    std::string level;
    std::vector<std::string> strings;
};

// The text of one of Wine's L"..." strings, in this program's code page (other
// characters than ASCII come as a backslash and four hexadecimal digits: the
// system's texts are in the user's language).
std::string Unescaped(const std::string& text)
{
    std::wstring plain;
    for (size_t i = 0; i < text.size(); ++i)
    {
        const bool escaped = text[i] == '\\' && i + 1 < text.size();
        const char c = escaped ? text[++i] : text[i];
        if (escaped && std::isxdigit(static_cast<unsigned char>(c)) && i + 4 <= text.size())
        {
            plain += static_cast<wchar_t>(std::stoul(text.substr(i, 4), nullptr, 16));
            i += 3;
            continue;
        }
        plain += !escaped ? static_cast<unsigned char>(c) : c == 'n' ? L'\n' : c == 'r' ? L'\r' : c == 't' ? L'\t' : c;
    }
    std::string ansi(plain.size() * 2 + 1, '\0');
    ::WideCharToMultiByte(CP_ACP, 0, plain.c_str(), -1, &ansi[0], static_cast<int>(ansi.size()), nullptr, nullptr);
    return ansi.c_str();
}

class EventLogTest : public ::testing::Test
{
protected:
    void SetUp() override { testreg::RemoveSettings(0); }
    void TearDown() override { testreg::RemoveSettings(0); }

    // Runs the tool with its entries on the debug channel while `act` works
    // its windows, and returns what it logged until `act` returned; `then`
    // finishes the work.
    Entry Run(const std::string& arguments, const std::function<void(DWORD processId)>& act,
              const std::function<void(DWORD processId)>& then = End)
    {
        const std::streamoff start = Size();
        ::SetEnvironmentVariableA("WINEDEBUG", "-all,+eventlog,warn+ntdll");
        DWORD processId = 0;
        const CKernelHandle process =
            StartProcess("\"" + KestrupExePath() + "\" " + arguments, &processId);
        ::SetEnvironmentVariableA("WINEDEBUG", "-all");
        if (!process)
            return Entry();
        act(processId);
        const Entry logged = Logged(start);
        then(processId);
        if (::WaitForSingleObject(process.get(), 30000) != WAIT_OBJECT_0)
        {
            ADD_FAILURE() << "the tool did not end";
            ::TerminateProcess(process.get(), 1);
        }
        return logged;
    }

    // Waits for the tool to end before reading.
    static void End(DWORD processId)
    {
        const CKernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
        ::WaitForSingleObject(process.get(), 30000);
    }

    std::streamoff Size() const
    {
        std::ifstream file(log, std::ios::binary | std::ios::ate);
        return file ? static_cast<std::streamoff>(file.tellg()) : 0;
    }

    Entry Logged(std::streamoff from) const
    {
        Entry entry;
        std::ifstream file(log, std::ios::binary);
        file.seekg(from);
        for (std::string line; std::getline(file, line);)
        {
            const size_t channel = line.find(":eventlog:ReportEventW L\"");
            const size_t level = line.rfind(':', channel == std::string::npos ? 0 : channel - 1);
            if (channel == std::string::npos || level == std::string::npos || line.back() != '"')
                continue;
            entry.level = line.substr(level + 1, channel - level - 1);
            const size_t text = line.find('"', channel) + 1;
            entry.strings.push_back(Unescaped(line.substr(text, line.size() - 1 - text)));
        }
        return entry;
    }

    static void StoreSlot4(const std::string& appPath, DWORD delay)
    {
        testreg::StoreSlot(4, {appPath, "", "", 0, delay, 3});
    }

    // Saves slot 0 through the settings as the user would.
    static std::function<void(DWORD)> Save(int radio)
    {
        return [radio](DWORD processId) {
            SettingsSession s(processId, true);
            ASSERT_TRUE(s.Found());
            s.Click(radio);
            if (radio == IDC_USER_DEFINED)
                s.Type(IDC_APP_PATH, "C:\\Shows\\player.exe");
            s.Click(IDOK);
            s.AnswerBox();
        };
    }

    const std::string log = WindowsPathFromEnvironment("KESTRUP_WINE_STDERR");
};

TEST_F(EventLogTest, StartedProgramIsInformation)
{
    const std::string program = ProbeExePath();
    const std::string folder = program.substr(0, program.rfind('\\'));
    StoreSlot4(program, 0);

    Entry entry = Run("/run 4", End, [](DWORD) {});
    ASSERT_EQ(7u, entry.strings.size());
    EXPECT_NE(0, std::atoi(entry.strings[4].c_str())) << "process id " << entry.strings[4];
    EXPECT_EQ("", entry.strings[5]) << "a program not kept running is watched by nothing";
    long long logon = 0, now = 0;
    EXPECT_EQ(QuerySessionTimes(logon, now) && logon > 0, !entry.strings[6].empty())
        << "the logon time is said where the session has one: <" << entry.strings[6] << ">";
    entry.strings.resize(4);
    EXPECT_EQ("trace", entry.level);
    EXPECT_EQ((std::vector<std::string>{"4", "\"" + program + "\"", folder, "0"}), entry.strings);
}

// Wine notes each request to keep the display and the system on (0x80000003) as a warning of ntdll.
TEST_F(EventLogTest, AKeptProgramKeepsTheDisplayOnWhereSet)
{
    StoreSlot4(ProbeExePath(), 0);
    for (const char* name : {"KeepRunning", "KeepDisplayOn"})
        testreg::SetDword(HKEY_CURRENT_USER, testreg::SlotKey(4).c_str(), name, 1);
    const std::streamoff start = Size();
    std::string text;
    Run("/run 4", [&](DWORD) {
        for (int i = 0; i < 60 && text.find("ExecutionState (0x80000003") == std::string::npos; ++i, ::Sleep(500))
            text.assign(std::istreambuf_iterator<char>(std::ifstream(log, std::ios::binary).seekg(start)), {});
    }, [](DWORD id) { ::TerminateProcess(CKernelHandle(::OpenProcess(PROCESS_TERMINATE, FALSE, id)).get(), 1); });
    EXPECT_NE(std::string::npos, text.find("ExecutionState (0x80000003")) << "no request to keep the display on";
}

// At the end of the show hours the show is closed and the request lets go (ES_CONTINUOUS alone): nothing keeps the
// display on off hours.
TEST_F(EventLogTest, NoDisplayRequestIsKeptOffHours)
{
    StoreSlot4(ProbeExePath(), 0);
    for (const char* name : {"KeepRunning", "KeepDisplayOn"})
        testreg::SetDword(HKEY_CURRENT_USER, testreg::SlotKey(4).c_str(), name, 1);
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const int end = (now.wHour * 60 + now.wMinute + (now.wSecond + 75) / 60) % 1440, begin = (end + 1380) % 1440;
    char hours[16] = "";
    std::snprintf(hours, sizeof(hours), "%02d:%02d-%02d:%02d", begin / 60, begin % 60, end / 60, end % 60);
    testreg::SetString(HKEY_CURRENT_USER, testreg::SlotKey(4).c_str(), "ShowHours", hours);
    ::SetEnvironmentVariableA("KESTRUP_PROBE_MODE", "window300");
    const std::streamoff start = Size();
    std::string text;
    Run("/run 4", [&](DWORD id) {
        HWND rest = windows::WaitFor([id](HWND w) {
            return windows::IsVisibleDialog(w) && windows::BelongsToProcess(w, id) && ::GetDlgItem(w, IDC_START_NOW);
        }, 150000);
        text.assign(std::istreambuf_iterator<char>(std::ifstream(log, std::ios::binary).seekg(start)), {});
        windows::Press(rest, IDCANCEL);
    });
    ::SetEnvironmentVariableA("KESTRUP_PROBE_MODE", nullptr);
    const size_t kept = text.rfind("ExecutionState (0x80000003");
    ASSERT_NE(std::string::npos, kept) << "no request to keep the display on while the show ran";
    EXPECT_NE(std::string::npos, text.find("ExecutionState (0x80000000", kept)) << "the request is kept off hours";
}

TEST_F(EventLogTest, ARequestTakenIsInformationNamingWhoAsked)
{
    StoreSlot4(ProbeExePath(), 20);
    testreg::SetDword(HKEY_CURRENT_USER, testreg::SlotKey(4).c_str(), "KeepRunning", 1);
    const Entry entry = Run("/run 4", [](DWORD id) {
        windows::WaitFor([id](HWND w) { return windows::IsVisibleDialog(w) && windows::BelongsToProcess(w, id); });
        EXPECT_EQ(0u, RunAndWait("\"" + KestrupExePath() + "\" /stop 4", 20000)) << "/stop 4";
    });
    ASSERT_EQ(3u, entry.strings.size());
    EXPECT_EQ("trace", entry.level);
    EXPECT_EQ("4/stop", entry.strings[0] + "/" + entry.strings[1]);
    EXPECT_TRUE(entry.strings[2].find("app_tests.exe, ") == 0 && entry.strings[2].find('\\') != std::string::npos)
        << "asked by " << entry.strings[2];
}

TEST(SinceLogonTest, SaysOnlyWhatTheTimesTell)
{
    const long long logon = 133000000000000000;
    EXPECT_EQ(" That was 187 seconds after the user's logon.", SinceLogonText(logon, logon + 1875000000));
    EXPECT_EQ("", SinceLogonText(0, logon)) << "no logon time";
    EXPECT_EQ("", SinceLogonText(logon, logon - 1)) << "a clock set back";
}

struct AbortCase
{
    const char* description;
    DWORD monitor;        // Monitor, where not 0
    const char* picture;  // CoverPicture of a kept slot with Cover 1, where set
    std::vector<std::string> strings;
};

class AbortEventTest : public EventLogTest, public ::testing::WithParamInterface<AbortCase>
{
};

// After the Warnings of the slot's values, each once.
TEST_P(AbortEventTest, AbortedCountdownIsAWarning)
{
    StoreSlot4("C:\\Shows\\player.exe", 30);
    if (GetParam().monitor != 0)
        testreg::SetDword(HKEY_CURRENT_USER, testreg::SlotKey(4).c_str(), "Monitor", GetParam().monitor);
    if (GetParam().picture != nullptr)
    {
        for (const char* name : {"KeepRunning", "Cover"})
            testreg::SetDword(HKEY_CURRENT_USER, testreg::SlotKey(4).c_str(), name, 1);
        testreg::SetString(HKEY_CURRENT_USER, testreg::SlotKey(4).c_str(), "CoverPicture", GetParam().picture);
    }
    const Entry entry = Run("/run 4", [](DWORD processId) {
        HWND countdown = windows::WaitFor([processId](HWND w) {
            return windows::IsVisibleDialog(w) && windows::BelongsToProcess(w, processId);
        });
        windows::Press(countdown, IDCANCEL);
        End(processId);
    }, [](DWORD) {});
    EXPECT_EQ("warn", entry.level);
    EXPECT_EQ(GetParam().strings, entry.strings) << GetParam().description;
}

INSTANTIATE_TEST_SUITE_P(
    Slots, AbortEventTest,
    ::testing::Values(AbortCase{"an abort", 0, nullptr, {"4", "30"}},
                      AbortCase{"a monitor not there", 3, nullptr, {"4", "3", "4", "30"}},
                      AbortCase{"a cover picture that cannot be read", 0, "C:\\Shows\\missing.png",
                                {"4", "C:\\Shows\\missing.png", "4", "30"}}));

TEST_F(EventLogTest, FailedStartIsAnErrorWrittenBeforeTheBox)
{
    const TempFolder temp("event-log");
    // A program that is gone, and a file the shell knows no program for.
    for (const std::string& program :
         {std::string("C:\\kestrup-gone\\show.exe"), temp.MakeFile("notes.kestrup-unknown")})
    {
        const std::string folder = program.substr(0, program.rfind('\\'));
        StoreSlot4(program, 0);
        HWND box = nullptr;
        std::string boxText;
        const Entry entry = Run(
            "/run 4",
            [&](DWORD processId) {
                box = windows::WaitFor([processId](HWND w) {
                    return windows::IsVisibleDialog(w) && windows::BelongsToProcess(w, processId)
                           && windows::Text(w) == "Error";
                });
                boxText = windows::MessageBoxText(box);
            },
            [&](DWORD processId) {
                windows::Press(box, IDOK);
                End(processId);
            });
        ASSERT_NE(nullptr, box) << program;
        EXPECT_EQ(std::string::npos, boxText.find("%1")) << boxText;
        EXPECT_EQ("err", entry.level) << "read while the box was up";
        EXPECT_EQ((std::vector<std::string>{"4", program, folder,
                                            boxText.substr(0, boxText.rfind("\nPath: "))}),
                  entry.strings);
    }
}

TEST_F(EventLogTest, FailedStartsInARowAreOneError)
{
    StoreSlot4("C:\\kestrup-gone\\show.exe", 0);
    testreg::SetDword(HKEY_CURRENT_USER, testreg::SlotKey(4).c_str(), "KeepRunning", 1);
    const Entry entry = Run("/run 4", [](DWORD) { ::Sleep(22000); }, [](DWORD processId) {
        ::TerminateProcess(CKernelHandle(::OpenProcess(PROCESS_TERMINATE, FALSE, processId)).get(), 1);
    });
    EXPECT_EQ(4u, entry.strings.size()) << "inserts after two failed starts 10 s apart (a third 20 s later): one Error";
}

struct SaveCase
{
    const char* description;
    int radio;
    bool refused;  // the profile key admits no lasting slot key
    const char* level;
    std::vector<std::string> strings;
};

class SaveEventTest : public EventLogTest, public ::testing::WithParamInterface<SaveCase>
{
};

TEST_P(SaveEventTest, IsRecorded)
{
    const SaveCase& row = GetParam();
    if (row.refused)
    {
        CRegKeyHandle profile;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, testreg::kProfileKey, 0, nullptr,
                                                   REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                                   profile.put(), nullptr));
    }
    const Entry entry = Run("", Save(row.radio));
    EXPECT_EQ(row.level, entry.level) << row.description;
    EXPECT_EQ(row.strings, entry.strings) << row.description;
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, SaveEventTest,
    ::testing::Values(
        SaveCase{"saved", IDC_USER_DEFINED, false, "trace", {"0", "User Defined", "C:\\Shows\\player.exe"}},
        SaveCase{"removed", IDC_DISABLE, false, "trace", {"0"}},
        SaveCase{"refused", IDC_USER_DEFINED, true, "err", {"0", "Could not save application path\n"}}));
} // namespace
