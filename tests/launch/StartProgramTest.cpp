#include "launch/Launcher.h"

#include "framework/Handle.h"
#include "framework/SystemMessage.h"
#include "tests/support/Probe.h"
#include "tests/support/Registry.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowDriver.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace
{
// How many times the process's first thread is suspended (read by suspending
// it once more, then letting it go again); -1 where it cannot be told.
int SuspendCount(DWORD processId)
{
    const CKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Thread32First(snapshot.get(), &entry); more; more = ::Thread32Next(snapshot.get(), &entry))
        if (entry.th32OwnerProcessID == processId)
        {
            const CKernelHandle thread(::OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID));
            const DWORD count = thread ? ::SuspendThread(thread.get()) : static_cast<DWORD>(-1);
            if (count != static_cast<DWORD>(-1))
                ::ResumeThread(thread.get());
            return static_cast<int>(count);
        }
    return -1;
}

// Runs the launcher on this thread while a driver answers its error boxes;
// returns the texts of the boxes it saw. A box is modal: once the launcher
// has returned, none can come any more.
std::vector<std::string> StartAndCollectErrors(const std::function<void()>& start)
{
    std::vector<std::string> texts;
    std::atomic<bool> returned{false};
    {
        UiDriver driver([&texts, &returned](DWORD uiThread) {
            while (!returned)
            {
                HWND box = windows::WaitFor([uiThread](HWND w) {
                    return windows::IsVisibleDialog(w) && windows::BelongsToThread(w, uiThread)
                           && windows::Text(w) == "Error";
                }, 100);
                if (box == nullptr)
                    continue;
                texts.push_back(windows::MessageBoxText(box));
                windows::Press(box, IDOK);
                while (::IsWindow(box) && !returned)
                    ::Sleep(20);
            }
        });
        start();
        returned = true;
    }
    return texts;
}

class StartProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char folder[MAX_PATH] = "";
        ::GetCurrentDirectoryA(MAX_PATH, folder);
        savedFolder = folder;
    }
    void TearDown() override { ::SetCurrentDirectoryA(savedFolder.c_str()); }

    std::string savedFolder;
    TempFolder temp{"launch"};
};

TEST_F(StartProgramTest, StartsTheProgramWithItsCommandLineInItsFolder)
{
    const std::string program = temp.MakeFolder("my tools") + "\\probe.exe";
    InstallProbe(program);
    const std::string record = temp.Path() + "record.txt";
    ExpectProbeRecordAt(record);

    const LaunchCommand command = BuildLaunchCommand(program, "-x 2", 1, "D:\\Shows\\gala.shw");
    const std::vector<std::string> errors =
        StartAndCollectErrors([&command] { StartProgram(nullptr, command); });
    EXPECT_TRUE(errors.empty()) << errors.front();

    ProbeRecord started;
    ASSERT_TRUE(WaitForProbeRecord(record, started)) << "the probe did not start";
    EXPECT_EQ("\"" + AsUtf8(program) + "\" -x 2 /kiosk \"D:\\Shows\\gala.shw\"", started.commandLine);
    EXPECT_EQ(AsUtf8(temp.Path() + "my tools"), started.folder);

    char current[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(savedFolder, std::string(current)) << "the tool's own current folder stays as it was";
}

// What the stored path names: the program itself, or what the shell starts
// it through.
enum class Made
{
    Program,
    Shortcut,  // to the program, with arguments and a working folder of its own
    Document,  // of a type registered to the program
    Batch,     // in the native System32, starting the program beside it
};

enum class Keeping
{
    No,
    CrashEndsAtOnce,
    CrashToWindows,
};

struct FolderCase
{
    const char* description;
    const char* current;    // the tool's current folder, below the test's folder
    const char* program;    // as stored; "K:" is a drive the test harness maps to a folder,
                            // "%windir%" the Windows folder
    const char* installed;  // where the program really is, the same way; "<native>" is
                            // the System32 that 64-bit programs see
    const char* expected;   // the program's current folder, the same way
    Made made = Made::Program;
    const char* argument = "-p";  // what the program's command line must hold
    Keeping keeping = Keeping::No;
};

const char kDocumentType[] = ".kestrupdoc";
const char kDocumentClass[] = "KestrupTest.Document";

void MakeShortcut(const std::string& link, const std::string& target, const std::string& folder)
{
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkA* shortcut = nullptr;
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       reinterpret_cast<void**>(&shortcut)));
    shortcut->SetPath(target.c_str());
    shortcut->SetArguments("-from-shortcut");
    shortcut->SetWorkingDirectory(folder.c_str());
    IPersistFile* file = nullptr;
    shortcut->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    wchar_t path[MAX_PATH] = L"";
    ::MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, path, MAX_PATH);
    EXPECT_EQ(S_OK, file->Save(path, TRUE)) << link;
    file->Release();
    shortcut->Release();
    ::CoUninitialize();
}

class StartFolderTest : public StartProgramTest, public ::testing::WithParamInterface<FolderCase>
{
protected:
    void TearDown() override
    {
        if (IsSystemPath(GetParam().installed))
            ::DeleteFileA(Real(GetParam().installed).c_str());
        ::DeleteFileA(batchFile.c_str());
        testreg::DeleteTree(HKEY_CLASSES_ROOT, kDocumentType);
        testreg::DeleteTree(HKEY_CLASSES_ROOT, kDocumentClass);
        StartProgramTest::TearDown();
    }

    static bool IsSystemPath(const std::string& path) { return path[0] == '%' || path[0] == '<'; }

    std::string Real(std::string path) const
    {
        char windows[MAX_PATH] = "";
        ::GetSystemWindowsDirectoryA(windows, MAX_PATH);
        BOOL wow64 = FALSE;
        ::IsWow64Process(::GetCurrentProcess(), &wow64);
        if (path.compare(0, 8, "<native>") == 0)
            path.replace(0, 8, std::string("%windir%\\") + (wow64 ? "Sysnative" : "System32"));
        if (path.compare(0, 8, "%windir%") == 0)
            return windows + path.substr(8);
        return path.compare(0, 2, "K:") == 0 ? path : temp.Path() + path;
    }

    std::string batchFile;
};

TEST_P(StartFolderTest, ProgramRunsInTheFolderItWasFoundIn)
{
    const FolderCase& row = GetParam();
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA("K:\\")) << "K: is not mapped";
    temp.MakeFolder("tools");
    InstallProbe(Real(row.installed));
    const std::string record = temp.Path() + "record.txt";
    ExpectProbeRecordAt(record);
    ::SetCurrentDirectoryA(Real(row.current).c_str());

    std::string program = IsSystemPath(row.program) ? Real(row.program) : row.program;
    if (row.made == Made::Shortcut)
        MakeShortcut(program = Real(row.program), Real(row.installed), Real(row.expected));
    if (row.made == Made::Document)
    {
        program = temp.MakeFile(row.program);
        testreg::SetString(HKEY_CLASSES_ROOT, kDocumentType, "", kDocumentClass);
        testreg::SetString(HKEY_CLASSES_ROOT, (std::string(kDocumentClass) + "\\shell\\open\\command").c_str(),
                           "", "\"" + Real(row.installed) + "\" \"%1\"");
    }
    if (row.made == Made::Batch)
    {
        batchFile = Real("<native>" + program.substr(program.rfind('\\')));
        const std::string text = "@\"%~dp0" + program.substr(program.rfind('\\') + 1) + ".exe\" %*\r\n";
        const CKernelHandle file(::CreateFileA(batchFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
    }
    // The error mode in force when the program is created is the one it inherits.
    ::SetErrorMode(::GetErrorMode() & ~SEM_NOGPFAULTERRORBOX);
    DWORD handedTo = 0;
    bool createdAndWaiting = false;
    UINT errorMode = 0;
    const StartOptions options{row.keeping != Keeping::No, row.keeping == Keeping::CrashEndsAtOnce, [&](DWORD id) {
        const CKernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, handedTo = id));
        errorMode = ::GetErrorMode();
        createdAndWaiting = ::WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT
                            && ::GetFileAttributesA(record.c_str()) == INVALID_FILE_ATTRIBUTES
                            && (id == ASFW_ANY || SuspendCount(id) == 1);
    }};
    DWORD startedId = 0;
    const std::vector<std::string> errors = StartAndCollectErrors([&] {
        startedId = StartProgram(nullptr, BuildLaunchCommand(program, "-p", 0, ""), {}, options).processId;
    });
    ASSERT_TRUE(errors.empty()) << row.description << ": " << errors.front();
    if (row.made == Made::Shortcut || row.made == Made::Document)
        EXPECT_EQ(ASFW_ANY, handedTo) << row.description << ": the shell's process is known only afterwards";
    else
        EXPECT_TRUE(handedTo == startedId && createdAndWaiting)
            << row.description << ": the foreground went to " << handedTo << ", not to the created process "
            << startedId << " before it ran";
    EXPECT_EQ(row.keeping == Keeping::CrashEndsAtOnce, (errorMode & SEM_NOGPFAULTERRORBOX) != 0)
        << row.description << ": error mode " << errorMode;
    ProbeRecord started;
    ASSERT_TRUE(WaitForProbeRecord(record, started)) << row.description;
    const std::string expected = AsUtf8(Real(row.expected));
    EXPECT_NE(std::string::npos, started.commandLine.find(row.argument))
        << row.description << ": " << started.commandLine;
    EXPECT_EQ(0, _stricmp(expected.c_str(), started.folder.c_str()))
        << row.description << ": expected <" << expected << ">, started in <" << started.folder << ">";
}

INSTANTIATE_TEST_SUITE_P(
    Paths, StartFolderTest,
    ::testing::Values(
        FolderCase{"bare name, kept", "tools", "kprobe-bare.exe", "tools\\kprobe-bare.exe", "tools", Made::Program,
                   "-p", Keeping::CrashEndsAtOnce},
        FolderCase{"relative path, kept with crashes left to Windows", "", "tools\\kprobe-rel.exe",
                   "tools\\kprobe-rel.exe", "tools", Made::Program, "-p", Keeping::CrashToWindows},
        FolderCase{"root of a drive", "tools", "K:\\kprobe-root.exe", "K:\\kprobe-root.exe", "K:\\"},
        FolderCase{"System32 as 64-bit programs see it", "tools", "%windir%\\System32\\kprobe-native.exe",
                   "<native>\\kprobe-native.exe", "%windir%\\System32"},
        FolderCase{"System32 as a 32-bit installer writes it", "tools", "%windir%\\System32\\kprobe-own.exe",
                   "%windir%\\System32\\kprobe-own.exe", "%windir%\\System32"},
        FolderCase{"a batch file in the native System32", "tools", "%windir%\\System32\\kprobe-cmd.cmd",
                   "<native>\\kprobe-cmd.cmd.exe", "%windir%\\System32", Made::Batch},
        FolderCase{"a batch file through Sysnative", "tools", "%windir%\\Sysnative\\kprobe-sn.cmd",
                   "<native>\\kprobe-sn.cmd.exe", "%windir%\\System32", Made::Batch},
        FolderCase{"through Sysnative", "tools", "%windir%\\Sysnative\\kprobe-sysnative.exe",
                   "<native>\\kprobe-sysnative.exe", "%windir%\\System32"},
        FolderCase{"a shortcut", "", "show.lnk", "tools\\kprobe-lnk.exe", "tools", Made::Shortcut,
                   "-from-shortcut -p"},
        FolderCase{"a document", "", "docs\\notes.kestrupdoc", "tools\\kprobe-doc.exe", "docs",
                   Made::Document, "notes.kestrupdoc"}));

TEST_F(StartProgramTest, FailedStartShowsOneErrorBoxWithTheSystemsText)
{
    const std::string folder = temp.Path() + "missing";
    const LaunchCommand command = BuildLaunchCommand(folder + "\\nothing.exe", "", 0, "");
    const std::vector<std::string> errors =
        StartAndCollectErrors([&command] { StartProgram(nullptr, command); });

    ASSERT_EQ(1u, errors.size());
    const size_t pathLine = errors[0].rfind("\nPath: ");
    ASSERT_NE(std::string::npos, pathLine) << errors[0];
    EXPECT_EQ(folder, errors[0].substr(pathLine + 7));
    const std::string systemText = errors[0].substr(0, pathLine);
    std::string expected2, expected3;
    GetSystemMessage(ERROR_FILE_NOT_FOUND, expected2);
    GetSystemMessage(ERROR_PATH_NOT_FOUND, expected3);
    EXPECT_TRUE(systemText == expected2 || systemText == expected3)
        << "box text <" << systemText << "> is the system's text for neither a missing file <"
        << expected2 << "> nor a missing path <" << expected3 << ">";
}

TEST_F(StartProgramTest, CodeWithoutSystemTextIsReportedByNumber)
{
    const DWORD code = 0xE0001234;  // customer-defined: the system has no text for it
    std::string none;
    ASSERT_FALSE(GetSystemMessage(code, none));
    const std::vector<std::string> errors =
        StartAndCollectErrors([code] { ReportStartFailure(nullptr, code, "C:\\Shows\\x.exe", "C:\\Shows"); });
    ASSERT_EQ(1u, errors.size());
    EXPECT_EQ("Error 3758101044\nPath: C:\\Shows", errors[0]);
}

// Wine starts a program that asks for administrator rights without asking:
// Windows' refusal (740) is handed in.
TEST_F(StartProgramTest, ElevationIsExplainedAndNeverAskedFor)
{
    const std::string text = StartFailureText(ERROR_ELEVATION_REQUIRED, "C:\\Shows\\admin.exe");
    EXPECT_EQ(0u, text.find("C:\\Shows\\admin.exe asks for administrator rights. Windows starts no")) << text;
    EXPECT_FALSE(GoesToTheShell(ERROR_ELEVATION_REQUIRED)) << "the shell would ask for the rights";
}

TEST_F(StartProgramTest, CommandLineBeyondThePlatformsLimitIsReported)
{
    const std::string program = temp.Path() + "probe.exe";
    InstallProbe(program);
    ExpectProbeRecordAt(temp.Path() + "record.txt");
    const LaunchCommand command = BuildLaunchCommand(program, std::string(40000, 'p'), 0, "");
    const std::vector<std::string> errors =
        StartAndCollectErrors([&command] { StartProgram(nullptr, command); });
    ASSERT_EQ(1u, errors.size());
    EXPECT_NE(std::string::npos, errors[0].find("\nPath: " + TrimFolder(temp.Path())))
        << errors[0];
}
} // namespace
