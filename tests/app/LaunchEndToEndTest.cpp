#include "app/LaunchMode.h"
#include "framework/Handle.h"
#include "framework/SystemMessage.h"
#include "tests/support/HttpListener.h"
#include "tests/support/Probe.h"
#include "tests/support/Process.h"
#include "tests/support/Registry.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowDriver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace
{
std::wstring Wide(const std::string& utf8)
{
    std::wstring wide(utf8.size() + 1, L'\0');
    wide.resize(::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &wide[0],
                                      static_cast<int>(wide.size())) - 1);
    return wide;
}

// Stores a text value as Unicode, as an administrator's tools do.
void SetText(const std::string& key, const char* name, DWORD type, const std::string& utf8)
{
    const std::wstring value = Wide(utf8);
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetKeyValueW(HKEY_CURRENT_USER, Wide(key).c_str(), Wide(name).c_str(),
                                               type, value.c_str(),
                                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
}


// The tool started as the Run value starts it at logon.
class LaunchEndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override { testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kCompanyKey); }
    void TearDown() override { testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kCompanyKey); }

    static void StoreSlot(int slot, const std::string& appPath)
    {
        testreg::StoreSlot(slot, {appPath, "C:\\Shows\\gala.shw", "-p 1", 1, 1, 3});
    }

    static std::string RunCommandLine(int slot)
    {
        return "\"" + KestrupExePath() + "\" /run " + std::to_string(slot);
    }

    TempFolder temp{"launch-e2e"};
};

// Where the probe is installed: a test folder, or below the Program Files of
// 64-bit programs, or of 32-bit ones (the same folder on 32-bit Windows).
enum class Place
{
    TestFolder,
    NativeProgramFiles,
    OwnProgramFiles,
};

struct StoredLaunch
{
    const char* description;
    std::string appPath;  // "<program>" stands for the probe's full path
    DWORD appPathType;
    std::string parameter;  // UTF-8
    bool locked;            // the slot key may only be read
    Place place = Place::TestFolder;
};

std::string ProgramFilesFolder(Place place)
{
    char folder[MAX_PATH] = "";
    if (place == Place::OwnProgramFiles
        || ::GetEnvironmentVariableA("ProgramW6432", folder, MAX_PATH) == 0)
        ::GetEnvironmentVariableA("ProgramFiles", folder, MAX_PATH);
    return std::string(folder) + "\\Kestrup Test";
}

class StoredLaunchTest : public LaunchEndToEndTest, public ::testing::WithParamInterface<StoredLaunch>
{
protected:
    void TearDown() override
    {
        if (GetParam().locked)
            testreg::SetKeyAccess(testreg::SlotKey(4), testreg::kFullAccess);
        if (GetParam().place != Place::TestFolder)
        {
            ::DeleteFileA((ProgramFilesFolder(GetParam().place) + "\\probe.exe").c_str());
            ::RemoveDirectoryA(ProgramFilesFolder(GetParam().place).c_str());
        }
        LaunchEndToEndTest::TearDown();
    }
};

TEST_P(StoredLaunchTest, RunValueCountsDownAndStartsTheStoredProgram)
{
    const StoredLaunch& row = GetParam();
    std::string folder = ProgramFilesFolder(row.place);
    if (row.place == Place::TestFolder)
        folder = temp.MakeFolder("show tools");
    else
        ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string program = folder + "\\probe.exe";
    InstallProbe(program);
    const std::string record = temp.Path() + "record.txt";
    ExpectProbeRecordAt(record);
    ::SetEnvironmentVariableA("KESTRUP_SHOW_TOOLS", folder.c_str());
    StoreSlot(4, program);
    std::string appPath = row.appPath;
    if (appPath.find("<program>") != std::string::npos)
        appPath.replace(appPath.find("<program>"), 9, AsUtf8(program));
    SetText(testreg::SlotKey(4), "AppPath", row.appPathType, appPath);
    SetText(testreg::SlotKey(4), "Parameter", REG_SZ, row.parameter);
    if (row.locked)
        testreg::SetKeyAccess(testreg::SlotKey(4), testreg::kReadOnly);

    EXPECT_EQ(0u, RunAndWait(RunCommandLine(4))) << row.description;

    ProbeRecord started;
    ASSERT_TRUE(WaitForProbeRecord(record, started)) << row.description << ": the stored program did not start";
    EXPECT_EQ("\"" + AsUtf8(program) + "\" " + row.parameter + " /kiosk \"C:\\Shows\\gala.shw\"", started.commandLine)
        << row.description;
    EXPECT_EQ(AsUtf8(folder), started.folder) << row.description;
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredLaunchTest,
    ::testing::Values(
        StoredLaunch{"as saved", "<program>", REG_SZ, "-p 1", false},
        StoredLaunch{"in quotes, as Explorer copies a path", "\"<program>\"", REG_SZ, "-p 1", false},
        StoredLaunch{"with a variable", "%KESTRUP_SHOW_TOOLS%\\probe.exe", REG_EXPAND_SZ,
                     "-p 1", false},
        StoredLaunch{"characters of any script", "<program>", REG_SZ, "-show \u03a9\u4e16\u00e9.shw", false},
        StoredLaunch{"a key locked for reading", "<program>", REG_SZ, "-p 1", true},
        StoredLaunch{"%ProgramFiles% as Explorer means it", "%ProgramFiles%\\Kestrup Test\\probe.exe",
                     REG_EXPAND_SZ, "-p 1", false, Place::NativeProgramFiles},
        StoredLaunch{"%ProgramFiles% of 32-bit programs, which alone has it",
                     "%ProgramFiles%\\Kestrup Test\\probe.exe", REG_EXPAND_SZ, "-p 1", false,
                     Place::OwnProgramFiles}));

TEST_F(LaunchEndToEndTest, MissingProgramIsReportedInAnErrorBox)
{
    const std::string folder = temp.Path() + "gone";
    StoreSlot(6, folder + "\\show.exe");

    DWORD processId = 0;
    const CKernelHandle process = StartProcess(RunCommandLine(6), &processId);
    ASSERT_TRUE(process);
    HWND box = windows::WaitFor([processId](HWND w) {
        return windows::IsVisibleDialog(w) && windows::BelongsToProcess(w, processId)
               && windows::Text(w) == "Error";
    });
    std::string text;
    HWND owner = nullptr;
    bool topmost = false;
    if (box != nullptr)
    {
        text = windows::MessageBoxText(box);
        owner = ::GetWindow(box, GW_OWNER);
        topmost = (::GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        windows::Press(box, IDOK);
    }
    const bool ended = ::WaitForSingleObject(process.get(), 30000) == WAIT_OBJECT_0;
    if (!ended)
        ::TerminateProcess(process.get(), 1);

    ASSERT_NE(nullptr, box) << "no error box appeared";
    EXPECT_NE(nullptr, owner) << "the box belongs to the hidden countdown";
    EXPECT_TRUE(topmost) << "other programs starting at logon must not cover the box";
    EXPECT_TRUE(ended) << "the tool ends once the box is dismissed";
    const size_t pathLine = text.rfind("\nPath: ");
    ASSERT_NE(std::string::npos, pathLine) << text;
    EXPECT_EQ(folder, text.substr(pathLine + 7));
    EXPECT_FALSE(text.substr(0, pathLine).empty());
}
TEST(StartOptionsTest, AKeptProgramIsTriedAgainQuietlyAndItsCrashesEndItUnlessLeftToWindows)
{
    const struct
    {
        bool kept, windowsErrorReporting;
        const char* options;  // kept, no box, crash ends at once
    } rows[] = {{false, false, "..."}, {false, true, "..."}, {true, false, "KQC"}, {true, true, "KQ."}};
    for (const auto& row : rows)
    {
        SlotSettings slot;
        slot.keepRunning = row.kept;
        slot.windowsErrorReporting = row.windowsErrorReporting;
        const StartOptions options = StartOptionsFor(slot);
        const std::string made{options.kept ? 'K' : '.', options.failureUnboxed ? 'Q' : '.',
                               options.crashEndsAtOnce ? 'C' : '.'};
        EXPECT_EQ(row.options, made)
            << "kept " << row.kept << ", WindowsErrorReporting " << row.windowsErrorReporting;
    }
}

// Slots started together, as Windows starts every Run value at a logon.
class SeveralCountdownsTest : public LaunchEndToEndTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(SeveralCountdownsTest, NoneCoversAnotherAndEachNamesItsProgram)
{
    const int count = GetParam();
    std::vector<CKernelHandle> processes;
    std::vector<DWORD> ids(count);
    for (int slot = 0; slot < count; ++slot)
        testreg::StoreSlot(slot, {temp.Path() + "show" + std::to_string(slot) + ".exe", "", "", 0, 20, 3});
    for (int slot = 0; slot < count; ++slot)
        processes.push_back(StartProcess(RunCommandLine(slot), &ids[slot]));
    std::vector<HWND> countdowns;
    for (DWORD id : ids)
        countdowns.push_back(windows::WaitFor([id](HWND w) {
            return windows::IsVisibleDialog(w) && windows::BelongsToProcess(w, id);
        }));

    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    std::vector<RECT> places(count);
    for (int slot = 0; slot < count; ++slot)
    {
        ASSERT_NE(nullptr, countdowns[slot]) << "slot " << slot;
        EXPECT_EQ("show" + std::to_string(slot) + ".exe", windows::Text(countdowns[slot]));
        RECT& place = places[slot];
        ::GetWindowRect(countdowns[slot], &place);
        EXPECT_TRUE(place.left >= work.left && place.top >= work.top && place.right <= work.right
                    && place.bottom <= work.bottom)
            << "slot " << slot << " lies outside the work area";
        for (int other = 0; other < slot; ++other)
        {
            RECT common;
            EXPECT_FALSE(::IntersectRect(&common, &place, &places[other]))
                << "slots " << other << " and " << slot << " overlap";
        }
    }
    if (count == 1)
    {
        EXPECT_NEAR((work.left + work.right) / 2, (places[0].left + places[0].right) / 2, 1);
        EXPECT_NEAR((work.top + work.bottom) / 2, (places[0].top + places[0].bottom) / 2, 1);
    }
    for (int slot = 0; slot < count; ++slot)
    {
        windows::Press(countdowns[slot], IDCANCEL);
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(processes[slot].get(), 10000))
            << "slot " << slot << " started something after its abort";
        ::TerminateProcess(processes[slot].get(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Slots, SeveralCountdownsTest, ::testing::Values(1, 2, 3, 4, 6));

struct ScriptCase
{
    const char* description;
    DWORD delay;
    DWORD keepRunning;
    // S the program starts (in its folder), C a countdown shows, F it shows `after` to `before` seconds
    // after the start, with no window of the probe left, W it waits for the volume, M L: comes, A
    // Abort, D a countdown lengthened by as many quick ends as starts so far shows, Q the logoff's
    // question, N no countdown comes for `quiet`
    // seconds, E the session ends, R the slot is removed, K the slot is no longer kept running, H the
    // program is let go, 2 the slot is run again, 1 F1 on the countdown, X the program is moved away, P
    // put back, G a countdown says the start failed, with no box, B a heartbeat comes, Z none for 12 s, o i x
    // `/status 5` answers 0, 1, 2 (within 30 s) with no window, v the Status key (there before, lasting, with 7
    // starts) is volatile, Y the tool crashes, T a countdown waits for slot 6 to start, U slot 6 is run, u its
    // Status is gone, f the Heartbeat fails after a beat and its retry, with no path, r s `/restart 5`, `/stop 5`
    // answer 0 (a countdown shown counts again from its Delay), w `/restart 5` answers 1, n 2, 6 `/stop 6` answers 2,
    // each with no window, c the program has ended, closed (exit code 0), . 5 s go by, k the cover is up: the
    // countdown's Abort is seen over it, and the screen's corner is the tool's, in the cover's colour, l no
    // cover is left over the probe's window, O the off-hours window says until when (within `before` seconds, at
    // most 150) with no countdown and nothing started, h the Status says `off hours` until then, g its Start
    // now. Starts counts each S at the end.
    const char* script;
    // As stored; "tools\\probe.exe" is the probe in the test's folder, which is the tool's current
    // folder. L: is a drive that is not there yet, \\kestrup-nas a server that never answers.
    const char* program = "tools\\probe.exe";
    const char* show = "";
    const char* waitsFor = "L:";
    const char* probeMode = "";  // see the probe
    DWORD notRespondingSeconds = MAXDWORD;  // MAXDWORD: not stored
    int after = 0;
    int before = 0;
    int quiet = 3;
    bool restartSoon = false;  // RestartDaily a minute or so ahead
    // AliveFile, stored as REG_SZ, written long ago when the tool starts, which the probe writes while it
    // plays; with AliveSeconds 10. %KESTRUP_ALIVE% is "alive".
    const char* aliveFile = "";
    // StartAfter 6, where slot 6 starts the probe ('p') or nothing ('-'); 0: none.
    char startAfter = 0;
    char heartbeat = 0;  // every 10 s to a server of the test's that answers ('a') or never does ('d'), or none ('f')
    // Cover 1: black ('b'), a red picture of the screen's proportions ('p'), one that cannot be read ('x').
    char cover = 0;
    char hours = 0;  // ShowHours that begin ('b') or end ('e') a minute or two ahead, or cannot be read ('x')
};

// "HH:MM" of a minute of the day, which may lie outside it.
std::string ClockText(int minute)
{
    minute = (minute % 1440 + 1440) % 1440;
    return (minute < 600 ? "0" : "") + std::to_string(minute / 60) + (minute % 60 < 10 ? ":0" : ":")
           + std::to_string(minute % 60);
}

// A one-coloured BMP of the screen's proportions.
void WriteRedPicture(const std::string& path)
{
    const LONG width = ::GetSystemMetrics(SM_CXSCREEN) / 16, height = ::GetSystemMetrics(SM_CYSCREEN) / 16;
    const DWORD stride = (width * 3 + 3) & ~3u;
    std::string pixels(stride * height, '\0');
    for (LONG y = 0; y < height; ++y)
        for (LONG x = 0; x < width; ++x)
            pixels[y * stride + x * 3 + 2] = '\xff';
    BITMAPINFOHEADER info = {sizeof(info), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof(file) + sizeof(info) + pixels.size()), 0, 0,
                             sizeof(file) + sizeof(info)};
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(&file), sizeof(file))
        .write(reinterpret_cast<const char*>(&info), sizeof(info)).write(pixels.data(), pixels.size());
}

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

POINT CentreOf(HWND window)
{
    RECT place = {};
    ::GetWindowRect(window, &place);
    return {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
}

// The tool as the Run value starts it, worked by a script; it ends at the
// script's end without starting anything more.
class ScriptedLaunchTest : public LaunchEndToEndTest, public ::testing::WithParamInterface<ScriptCase>
{
protected:
    void TearDown() override
    {
        ::SetEnvironmentVariableA("KESTRUP_PROBE_HOLD", nullptr);
        ::SetEnvironmentVariableA("KESTRUP_PROBE_MODE", nullptr);
        ::SetEnvironmentVariableA("KESTRUP_PROBE_ALIVE", nullptr);
        ::SetEnvironmentVariableA("KESTRUP_ALIVE", nullptr);
        ::DeleteFileA((lateFolder + "\\show\\probe.exe").c_str());
        ::RemoveDirectoryA((lateFolder + "\\show").c_str());
        ::RemoveDirectoryA(lateFolder.c_str());
        // What a launcher left behind, also where a step failed before letting it go.
        if (const CKernelHandle hold{::OpenEventA(EVENT_MODIFY_STATE, FALSE, "KestrupProbeHold")})
            ::SetEvent(hold.get());
        for (HWND left; (left = ::FindWindowA(nullptr, "Kestrup probe")) != nullptr;)
        {
            DWORD id = 0;
            ::GetWindowThreadProcessId(left, &id);
            const CKernelHandle probe(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
            ::TerminateProcess(probe.get(), 1);
            ::WaitForSingleObject(probe.get(), 5000);
        }
        LaunchEndToEndTest::TearDown();
    }

    // The test harness links drive L: to this folder, which is not there
    // until the drive is to come.
    const std::string lateFolder = WindowsPathFromEnvironment("KESTRUP_DRIVE_L");
};

// As Windows tells every top-level window of the process at a logoff.
BOOL CALLBACK EndSession(HWND window, LPARAM processId)
{
    DWORD_PTR answer = 0;
    if (windows::BelongsToProcess(window, static_cast<DWORD>(processId)))
        for (UINT message : {WM_QUERYENDSESSION, WM_ENDSESSION})
            ::SendMessageTimeoutA(window, message, message == WM_ENDSESSION, ENDSESSION_LOGOFF, SMTO_BLOCK, 5000,
                                  &answer);
    return TRUE;
}

BOOL CALLBACK AskToEndSession(HWND window, LPARAM processId)
{
    DWORD_PTR answer = 0;
    if (windows::BelongsToProcess(window, static_cast<DWORD>(processId)))
        ::SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK, 5000, &answer);
    return TRUE;
}

TEST_P(ScriptedLaunchTest, FollowsTheScriptAndStartsNothingMore)
{
    const ScriptCase& row = GetParam();
    const std::string stored = row.program;
    const std::string folder = stored.find(':') == 1 ? "L:\\show" : temp.Path() + "tools";
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA("L:\\")) << "L: is there already";
    InstallProbe(temp.MakeFolder("tools") + "\\probe.exe");
    const std::string record = temp.Path() + "record.txt";
    ExpectProbeRecordAt(record);
    const CKernelHandle hold(::CreateEventA(nullptr, FALSE, FALSE, "KestrupProbeHold"));
    if (std::string(row.script).find('H') != std::string::npos)
        ::SetEnvironmentVariableA("KESTRUP_PROBE_HOLD", "KestrupProbeHold");
    testreg::StoreSlot(5, {stored, row.show, "", 0, row.delay, 3});
    testreg::SetDword(HKEY_CURRENT_USER, testreg::SlotKey(5).c_str(), "KeepRunning", row.keepRunning);
    if (row.restartSoon)
    {
        SYSTEMTIME now;
        ::GetLocalTime(&now);
        const int minute = (now.wHour * 60 + now.wMinute + (now.wSecond + 75) / 60) % 1440;
        testreg::SetString(HKEY_CURRENT_USER, testreg::SlotKey(5).c_str(), "RestartDaily",
                           (minute < 600 ? "0" : "") + std::to_string(minute / 60) + ":" + (minute % 60 < 10 ? "0" : "")
                               + std::to_string(minute % 60));
    }
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const int soon = now.wHour * 60 + now.wMinute + (now.wSecond + 135) / 60;
    const std::string begin = ClockText(row.hours == 'b' ? soon : soon - 120);
    if (row.hours != 0)
        testreg::SetString(HKEY_CURRENT_USER, testreg::SlotKey(5).c_str(), "ShowHours",
                           begin + "-" + (row.hours == 'x' ? "" : ClockText(soon + (row.hours == 'b' ? 60 : 0))));
    if (row.notRespondingSeconds != MAXDWORD)
        testreg::SetDword(HKEY_CURRENT_USER, testreg::SlotKey(5).c_str(), "NotRespondingSeconds",
                          row.notRespondingSeconds);
    ::SetEnvironmentVariableA("KESTRUP_PROBE_MODE", row.probeMode);
    ::SetEnvironmentVariableA("KESTRUP_ALIVE", "alive");
    char alive[MAX_PATH] = "";
    ::ExpandEnvironmentStringsA(row.aliveFile, alive, MAX_PATH);
    ::SetEnvironmentVariableA("KESTRUP_PROBE_ALIVE", *alive != '\0' ? alive : nullptr);
    if (*row.aliveFile != '\0')
    {
        testreg::SetString(HKEY_CURRENT_USER, testreg::SlotKey(5).c_str(), "AliveFile", row.aliveFile);
        testreg::SetDword(HKEY_CURRENT_USER, testreg::SlotKey(5).c_str(), "AliveSeconds", 10);
        const CKernelHandle file(::CreateFileA((folder + "\\" + alive).c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_ALWAYS, 0, nullptr));
        const FILETIME longAgo = {0, 0x01D00000};
        ::SetFileTime(file.get(), nullptr, nullptr, &longAgo);
    }
    if (row.startAfter != 0)
    {
        testreg::SetDword(HKEY_CURRENT_USER, testreg::SlotKey(5).c_str(), "StartAfter", 6);
        testreg::StoreSlot(6, {row.startAfter == 'p' ? stored : "", "", "", 0, 0, 3});
    }
    if (row.cover != 0)
    {
        testreg::SetDword(HKEY_CURRENT_USER, testreg::SlotKey(5).c_str(), "Cover", 1);
        if (row.cover != 'b')
            testreg::SetString(HKEY_CURRENT_USER, testreg::SlotKey(5).c_str(), "CoverPicture",
                               temp.Path() + "cover.bmp");
        if (row.cover == 'p')
            WriteRedPicture(temp.Path() + "cover.bmp");
    }
    std::unique_ptr<HttpListener> server;
    if (row.heartbeat != 0)
    {
        server = std::make_unique<HttpListener>(row.heartbeat == 'd');
        const int port = row.heartbeat == 'f' ? 1 : server->Port();
        testreg::SetString(HKEY_CURRENT_USER, testreg::SlotKey(5).c_str(), "HeartbeatUrl",
                           "http://127.0.0.1:" + std::to_string(port) + "/beat?status=up");
        testreg::SetDword(HKEY_CURRENT_USER, testreg::SlotKey(5).c_str(), "HeartbeatSeconds", 10);
    }
    if (std::string(row.script).find('v') != std::string::npos)  // as the import of a copied slot makes it
        testreg::SetDword(HKEY_CURRENT_USER, (testreg::SlotKey(5) + "\\Status").c_str(), "Starts", 7);
    int beats = 0;
    DWORD id = 0;
    char testsFolder[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, testsFolder);
    ::SetCurrentDirectoryA(temp.Path().c_str());
    const CKernelHandle process = StartProcess(RunCommandLine(5), &id);
    ::SetCurrentDirectoryA(testsFolder);
    // Also when a step fails: a tool left counting down would hold the test's output.
    const struct Ender
    {
        HANDLE process;
        ~Ender() { ::TerminateProcess(process, 1); }
    } ender{process.get()};
    HWND countdown = nullptr;
    int starts = 0;
    DWORD type = 0;
    ProbeRecord started;
    ULONGLONG startedAt = 0;
    for (const char* step = row.script; *step != '\0'; ++step)
    {
        const std::string where = std::string(row.description) + ", step " + *step;
        if (*step == 'S')
        {
            ASSERT_TRUE(WaitForProbeRecord(record, started, 30000) && ::DeleteFileA(record.c_str())) << where;
            EXPECT_EQ(AsUtf8(folder), started.folder) << where;
            startedAt = ::GetTickCount64();
        }
        starts += *step == 'S';
        if (*step == 'C' || *step == 'W' || *step == 'N' || *step == 'F' || *step == 'D' || *step == 'G'
            || *step == 'T')
        {
            const std::string label =
                *step == 'W'   ? std::string("Waiting for ") + row.waitsFor
                : *step == 'D' ? "Ended " + std::to_string(starts) + " times within a minute; again in:"
                : *step == 'G' ? "Could not start: file not found. Again in:"
                : *step == 'T' ? "Waiting for slot 6 to start"
                               : "";
            countdown = windows::WaitFor([id, &label](HWND w) {
                return windows::IsVisibleDialog(w) && windows::BelongsToProcess(w, id)
                       && ::GetDlgItem(w, 1010) != nullptr && (label.empty() || windows::ControlText(w, 1013) == label);
            }, *step == 'N' ? row.quiet * 1000 : *step == 'F' ? row.before * 1000 : 30000);
            ASSERT_EQ(*step == 'N', countdown == nullptr) << where;
            EXPECT_EQ(nullptr, windows::WaitFor([id](HWND w) {
                return windows::IsVisibleDialog(w) && windows::BelongsToProcess(w, id) && windows::Text(w) == "Error";
            }, 100)) << where << ": a box";
        }
        if (*step == 'O')
        {
            countdown = windows::WaitFor([id](HWND w) {
                return windows::IsVisibleDialog(w) && windows::BelongsToProcess(w, id) && !::GetDlgItem(w, 1010);
            }, 150000);
            ASSERT_NE(nullptr, countdown) << where;
            EXPECT_EQ("Off hours until " + begin, windows::ControlText(countdown, 1120)) << where;
            EXPECT_FALSE(WaitForProbeRecord(record, started, 100)) << where << ": started off hours";
        }
        if (*step == 'h')
        {
            std::string state, until;
            testreg::ReadValue(HKEY_CURRENT_USER, (testreg::SlotKey(5) + "\\Status").c_str(), "State", type, state);
            testreg::ReadValue(HKEY_CURRENT_USER, (testreg::SlotKey(5) + "\\Status").c_str(), "Until", type, until);
            EXPECT_EQ(std::string("off hours", 10), state) << where;
            EXPECT_EQ(begin + ":00" + '\0', until.substr(until.size() > 9 ? until.size() - 9 : 0)) << where;
        }
        if (*step == 'g')
            windows::Press(countdown, 1121);
        if (*step == 'u')
            testreg::DeleteTree(HKEY_CURRENT_USER, (testreg::SlotKey(6) + "\\Status").c_str());
        if (*step == 'X' || *step == 'P')
        {
            const std::string program = temp.Path() + "tools\\probe.exe", away = program + ".away";
            EXPECT_TRUE(::MoveFileA((*step == 'X' ? program : away).c_str(), (*step == 'X' ? away : program).c_str()))
                << where;
        }
        if (*step == 'F')
        {
            EXPECT_GE(::GetTickCount64() - startedAt, row.after * 1000ULL) << where << ": came back too soon";
            EXPECT_EQ(nullptr, ::FindWindowA(nullptr, "Kestrup probe")) << where << ": a window of the probe is left";
        }
        if (*step == 'M')
        {
            ::CreateDirectoryA(lateFolder.c_str(), nullptr);
            ::CreateDirectoryA((lateFolder + "\\show").c_str(), nullptr);
            InstallProbe(lateFolder + "\\show\\probe.exe");
        }
        if (*step == 'A')
            windows::Press(countdown, IDCANCEL);
        if (*step == '1')
            windows::PressKey(countdown, VK_F1);
        if (*step == 'Q' || *step == 'E')
            ::EnumWindows(*step == 'Q' ? AskToEndSession : EndSession, id);
        if (*step == 'K')
            testreg::SetDword(HKEY_CURRENT_USER, testreg::SlotKey(5).c_str(), "KeepRunning", 0);
        if (*step == 'R')
            testreg::RemoveSettings(5);
        if (*step == 'H')
            ::SetEvent(hold.get());
        if (*step == 'B' || *step == 'Z')
        {
            const int before = *step == 'B' ? beats : server->Requests();
            for (ULONGLONG until = ::GetTickCount64() + (*step == 'B' ? 15000 : 12000);
                 ::GetTickCount64() < until && (*step == 'Z' || server->Requests() == before);)
                ::Sleep(200);
            EXPECT_EQ(*step == 'B', server->Requests() > before) << where << ": heartbeats " << server->Requests()
                                                                 << ", before " << before;
            EXPECT_TRUE(*step == 'Z' || server->RequestLine() == "GET /beat?status=up HTTP/1.1") << where;
            beats = server->Requests();
        }
        if (*step == 'o' || *step == 'i' || *step == 'x')
        {
            const DWORD expected = *step == 'o' ? 0 : *step == 'i' ? 1 : 2;
            DWORD answer = MAXDWORD;
            bool quiet = true;
            for (ULONGLONG until = ::GetTickCount64() + 30000; answer != expected && quiet && ::GetTickCount64() < until;)
            {
                const CKernelHandle query = StartProcess("\"" + KestrupExePath() + "\" /status 5");
                quiet = ::WaitForSingleObject(query.get(), 10000) == WAIT_OBJECT_0;
                ::TerminateProcess(query.get(), 3);
                ::GetExitCodeProcess(query.get(), &answer);
            }
            EXPECT_TRUE(quiet) << where << ": /status did not end at once (a window?)";
            EXPECT_EQ(expected, answer) << where << ": /status 5";
        }
        if (std::string("rswn6").find(*step) != std::string::npos)
        {
            const std::string asked = std::string(*step == 's' ? "-STOP " : *step == '6' ? "/stop " : "/Restart ")
                                      + (*step == '6' ? "6" : "5");
            const CKernelHandle ask = StartProcess("\"" + KestrupExePath() + "\" " + asked);
            const bool quiet = ::WaitForSingleObject(ask.get(), 20000) == WAIT_OBJECT_0;
            DWORD answer = MAXDWORD;
            ::TerminateProcess(ask.get(), 3);
            ::GetExitCodeProcess(ask.get(), &answer);
            EXPECT_TRUE(quiet) << where << ": " << asked << " did not end (a window?)";
            EXPECT_EQ(*step == 'r' || *step == 's' ? 0u : *step == 'w' ? 1u : 2u, answer) << where << ": " << asked;
            if (*step == 'r' && countdown != nullptr)
            {
                EXPECT_LE(static_cast<int>(row.delay) - 3, std::atoi(windows::ControlText(countdown, 1011).c_str()))
                    << where << ": the countdown did not count again";
            }
        }
        if (*step == '.')
            ::Sleep(5000);
        if (*step == 'k')
        {
            const HWND abort = ::GetDlgItem(countdown, IDCANCEL);
            EXPECT_TRUE(abort != nullptr && ::WindowFromPoint(CentreOf(abort)) == abort)
                << where << ": the countdown's Abort is not seen";
            EXPECT_TRUE(windows::BelongsToProcess(::WindowFromPoint({1, 1}), id)) << where << ": the corner is bare";
            const COLORREF expected = row.cover == 'p' ? RGB(255, 0, 0) : RGB(0, 0, 0);
            COLORREF corner = ScreenPixel(1, 1);
            for (ULONGLONG until = ::GetTickCount64() + 2000; corner != expected && ::GetTickCount64() < until;
                 ::Sleep(100))
                corner = ScreenPixel(1, 1);
            EXPECT_EQ(expected, corner) << where << ": the colour of the screen's corner";
        }
        if (*step == 'l')
        {
            HWND show = nullptr;
            for (ULONGLONG until = ::GetTickCount64() + 10000;
                 (show == nullptr || ::WindowFromPoint(CentreOf(show)) != show) && ::GetTickCount64() < until;
                 ::Sleep(100))
                show = ::FindWindowA(nullptr, "Kestrup probe");
            EXPECT_TRUE(show != nullptr && ::WindowFromPoint(CentreOf(show)) == show)
                << where << ": the probe's window is not seen, a cover is over it";
        }
        if (*step == 'c')
        {
            const std::string status = testreg::SlotKey(5) + "\\Status";
            std::string code;
            for (ULONGLONG until = ::GetTickCount64() + 20000;
                 !testreg::ReadValue(HKEY_CURRENT_USER, status.c_str(), "LastExitCode", type, code)
                 && ::GetTickCount64() < until;)
                ::Sleep(200);
            EXPECT_EQ(0, code.size() == 4 ? *reinterpret_cast<const int*>(code.data()) : -1)
                << where << ": the program was not closed, or is left";
            ::RegDeleteKeyValueA(HKEY_CURRENT_USER, status.c_str(), "LastExitCode");
        }
        if (*step == 'v')
        {
            HKEY child = nullptr;
            const LONG made = ::RegCreateKeyExA(HKEY_CURRENT_USER, (testreg::SlotKey(5) + "\\Status\\x").c_str(), 0,
                                                nullptr, 0, KEY_READ, nullptr, &child, nullptr);
            ::RegCloseKey(child);
            EXPECT_EQ(ERROR_CHILD_MUST_BE_VOLATILE, made) << where << ": a Status key that outlives the logon";
        }
        if (*step == 'Y')
            ::TerminateProcess(process.get(), 1);
        if (*step == 'f')
        {
            std::string said;
            for (ULONGLONG until = startedAt + 40000; said.find("failing") && ::GetTickCount64() < until; ::Sleep(200))
                testreg::ReadValue(HKEY_CURRENT_USER, (testreg::SlotKey(5) + "\\Status").c_str(), "Heartbeat", type,
                                   said);
            EXPECT_GE(::GetTickCount64() - startedAt, 15000u) << where << ": before the retry: " << said.c_str();
            EXPECT_TRUE(said.find("failing") == 0 && said.find("beat") == std::string::npos)
                << where << ": " << said.c_str();
        }
        if (*step == '2' || *step == 'U')
        {
            ::SetEnvironmentVariableA("KESTRUP_PROBE_RECORD", *step == 'U' ? nullptr : record.c_str());
            ::SetCurrentDirectoryA(temp.Path().c_str());
            EXPECT_EQ(0u, RunAndWait(RunCommandLine(*step == 'U' ? 6 : 5), 15000)) << where << ": it did not end";
            ::SetCurrentDirectoryA(testsFolder);
            ::SetEnvironmentVariableA("KESTRUP_PROBE_RECORD", record.c_str());
        }
    }
    const bool ended = ::WaitForSingleObject(process.get(), 8000) == WAIT_OBJECT_0;
    EXPECT_TRUE(ended) << row.description << ": the tool did not end, or a box holds it";
    std::string state;
    if (std::string(row.script).find('Y') == std::string::npos
        && testreg::ReadValue(HKEY_CURRENT_USER, (testreg::SlotKey(5) + "\\Status").c_str(), "State", type, state))
    {
        EXPECT_TRUE(state == std::string("stopped", 8) || state == std::string("started", 8))
            << row.description << ": the state after the end is " << state.c_str();
        std::string counted;
        testreg::ReadValue(HKEY_CURRENT_USER, (testreg::SlotKey(5) + "\\Status").c_str(), "Starts", type, counted);
        EXPECT_EQ(starts, counted.size() == 4 ? *reinterpret_cast<const int*>(counted.data()) : -1) << row.description;
    }
    ::Sleep(1000);
    EXPECT_FALSE(WaitForProbeRecord(record, started, 100)) << row.description << ": started once more";
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ScriptedLaunchTest,
    ::testing::Values(ScriptCase{"an end brings the countdown back, which may be aborted", 0, 1, "SCA"},
                      ScriptCase{"quick ends slow the restarts down, with no box", 0, 1, "SCSDSDA"},
                      ScriptCase{"kept no longer before the third quick end", 0, 1, "SCSCKS"},
                      ScriptCase{"the slot run again while it counts down", 20, 0, "C2A"},
                      ScriptCase{"F1 on the countdown", 3, 0, "C1So"},
                      ScriptCase{"a slot not kept, run again after its start", 0, 0, "S2So"},
                      ScriptCase{"the session ends during the countdown", 20, 1, "CE"},
                      ScriptCase{"the session ends while the program runs", 0, 1, "SEH"},
                      ScriptCase{"the program ends between the logoff's question and its end", 0, 1, "SQHNE"},
                      ScriptCase{"the slot removed while the program runs", 0, 1, "SRH"},
                      ScriptCase{"a drive that comes after the countdown", 0, 0, "WMS", "L:\\show\\probe.exe"},
                      ScriptCase{"Abort while waiting for a drive", 0, 0, "WiA", "L:\\show\\probe.exe"},
                      ScriptCase{"a show file on a drive not there yet", 0, 0, "WA", "tools\\probe.exe",
                                 "L:\\shows\\gala.shw"},
                      ScriptCase{"a program on a share", 0, 0, "WA", "\\\\kestrup-nas\\shows\\probe.exe", "",
                                 "\\\\kestrup-nas\\shows"},
                      ScriptCase{.description = "a launcher that starts the show and ends", .delay = 0,
                                 .keepRunning = 1, .script = "SFA", .probeMode = "launch15", .after = 15,
                                 .before = 40},
                      ScriptCase{.description = "started after the slot it waits for", .delay = 0, .keepRunning = 0,
                                 .script = "TUS", .startAfter = 'p'},
                      ScriptCase{.description = "no wait at a restart", .delay = 0, .keepRunning = 1,
                                 .script = "TUSuSCA", .startAfter = 'p'},
                      ScriptCase{.description = "no wait for a slot without a program", .delay = 0,
                                 .keepRunning = 0, .script = "S", .startAfter = '-'},
                      ScriptCase{"the program gone after its first start, then back", 0, 1, "SXHGiPSHCA"},
                      ScriptCase{.description = "a launcher that ends after a long run, leaving a window",
                                 .delay = 0, .keepRunning = 1, .script = "SNCA", .probeMode = "launch75/62",
                                 .quiet = 70},
                      ScriptCase{.description = "a program that restarts itself after a long run", .delay = 0,
                                 .keepRunning = 1, .script = "SNCA", .probeMode = "relaunch30/61", .quiet = 80},
                      ScriptCase{.description = "a crash after a long run that starts a reporter with a window",
                                 .delay = 0, .keepRunning = 1, .script = "SFA", .probeMode = "crash300/61",
                                 .after = 60, .before = 75},
                      ScriptCase{.description = "an updater without a window that outlives a minute, then starts "
                                                "the new version",
                                 .delay = 0, .keepRunning = 1, .script = "SNFA", .probeMode = "update30/61/80",
                                 .notRespondingSeconds = 0, .after = 160, .before = 60, .quiet = 135},
                      ScriptCase{.description = "a launcher that hands over to a helper without a window",
                                 .delay = 0, .keepRunning = 1, .script = "SFAH", .probeMode = "launch0", .after = 60,
                                 .before = 120},
                      ScriptCase{.description = "a window seen, then hidden and hung", .delay = 0,
                                 .keepRunning = 1, .script = "SFA", .probeMode = "hidden8",
                                 .notRespondingSeconds = 15, .after = 20, .before = 50},
                      ScriptCase{.description = "a window that stops responding", .delay = 0, .keepRunning = 1,
                                 .script = "SFA", .probeMode = "frozen", .notRespondingSeconds = 15, .after = 15,
                                 .before = 45},
                      ScriptCase{.description = "a window that responds", .delay = 0, .keepRunning = 1,
                                 .script = "SFA", .probeMode = "window30", .notRespondingSeconds = 10, .after = 30,
                                 .before = 60},
                      ScriptCase{.description = "a restart at the set time", .delay = 0, .keepRunning = 1,
                                 .script = "SFA", .probeMode = "window300", .notRespondingSeconds = 0,
                                 .after = 10, .before = 100, .restartSoon = true},
                      ScriptCase{.description = "an alive file written throughout", .delay = 0, .keepRunning = 1,
                                 .script = "SFA", .probeMode = "alive30/30", .notRespondingSeconds = 0, .after = 30,
                                 .before = 60, .aliveFile = "%KESTRUP_ALIVE%.txt"},
                      ScriptCase{.description = "an alive file no longer written, by a window that answers",
                                 .delay = 0, .keepRunning = 1, .script = "SFA", .probeMode = "alive10/300",
                                 .notRespondingSeconds = 0, .after = 15, .before = 50,
                                 .aliveFile = "%KESTRUP_ALIVE%.txt"},
                      ScriptCase{.description = "a frozen window where nothing is checked", .delay = 0,
                                 .keepRunning = 1, .script = "SNHCA", .probeMode = "frozen",
                                 .notRespondingSeconds = 0, .quiet = 25},
                      ScriptCase{.description = "heartbeats while it runs, none while it counts down", .delay = 20,
                                 .keepRunning = 1, .script = "CiZSovBCiZAx", .probeMode = "window25", .heartbeat = 'a'},
                      ScriptCase{.description = "a heartbeat fails after its retry", .delay = 0, .keepRunning = 1,
                                 .script = "SfCA", .probeMode = "window30", .heartbeat = 'f'},
                      ScriptCase{.description = "no heartbeat for a show that ends at once", .delay = 5,
                                 .keepRunning = 1, .script = "CZSCA", .heartbeat = 'a'},
                      ScriptCase{.description = "no heartbeat while not responding, no time set; a keeper that crashed",
                                 .delay = 0, .keepRunning = 1, .script = "SoiZYx", .probeMode = "frozen",
                                 .notRespondingSeconds = 0, .heartbeat = 'a'},
                      ScriptCase{.description = "a restart asked while it runs, a stop of another slot, then of it",
                                 .delay = 0, .keepRunning = 1, .script = "S6rcSscxn", .probeMode = "window300"},
                      ScriptCase{.description = "a restart asked during the countdown, then a stop", .delay = 20,
                                 .keepRunning = 1, .script = "C.rsx"},
                      ScriptCase{.description = "a restart asked while the keeper closes a program deaf to it",
                                 .delay = 0, .keepRunning = 1, .script = "SrwSsx", .probeMode = "deaf300"},
                      ScriptCase{.description = "a picture over the countdowns, gone once the show shows", .delay = 3,
                                 .keepRunning = 1, .script = "CkSlCkA", .probeMode = "window5", .cover = 'p'},
                      ScriptCase{.description = "a black cover", .delay = 20, .keepRunning = 1, .script = "CkA",
                                 .cover = 'b'},
                      ScriptCase{.description = "a cover picture that cannot be read is black", .delay = 20,
                                 .keepRunning = 1, .script = "CkA", .cover = 'x'},
                      ScriptCase{.description = "a heartbeat server that never answers holds nothing up", .delay = 0,
                                 .keepRunning = 1, .script = "SBFE", .probeMode = "window15", .after = 15,
                                 .before = 25, .heartbeat = 'd'},
                      ScriptCase{.description = "outside the show hours: off hours, with a heartbeat; the countdown "
                                                "and the start at their begin",
                                 .delay = 3, .keepRunning = 1, .script = "OhoBFSCA", .before = 150, .heartbeat = 'a',
                                 .hours = 'b'},
                      ScriptCase{.description = "the end of the show hours closes the show; Abort off hours",
                                 .delay = 0, .keepRunning = 1, .script = "SOchA", .probeMode = "window300",
                                 .hours = 'e'},
                      ScriptCase{.description = "Start now off hours, then a stop", .delay = 3, .keepRunning = 1,
                                 .script = "OgSs", .probeMode = "window300", .hours = 'b'},
                      ScriptCase{.description = "a restart asked off hours starts the show", .delay = 3,
                                 .keepRunning = 1, .script = "OrSs", .probeMode = "window300", .hours = 'b'},
                      ScriptCase{.description = "show hours that cannot be read: always", .delay = 0, .keepRunning = 1,
                                 .script = "SCA", .hours = 'x'}));
} // namespace
