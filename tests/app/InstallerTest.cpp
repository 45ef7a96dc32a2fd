// The installer package under the system's own installer, and the slot
// template imported with the system's own "reg import", as an administrator
// would use them on many PCs.
#include "framework/Handle.h"
#include "framework/RegKey.h"
#include "tests/support/Probe.h"
#include "tests/support/Process.h"
#include "tests/support/Registry.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowDriver.h"
#include "ui/resource.h"

#include <msi.h>
#include <msiquery.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace
{
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kEventSourceKey[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\vaxo Kestrup";

std::string ProgramFiles()
{
    char path[MAX_PATH] = "";
    ::SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, path);
    return path;
}

std::string InstalledExe()
{
    return ProgramFiles() + "\\vaxo\\Kestrup\\Kestrup.exe";
}

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The Start-menu shortcut, for all users or (where the installer puts it
// there) for this one.
bool ShortcutExists()
{
    for (int folder : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS})
    {
        char path[MAX_PATH] = "";
        if (SUCCEEDED(::SHGetFolderPathA(nullptr, folder, nullptr, 0, path))
            && Exists(std::string(path) + "\\vaxo\\Kestrup.lnk"))
            return true;
    }
    return false;
}

struct ProgramEntry
{
    std::string version;
    std::string publisher;
};

// The Add/Remove Programs entries named "vaxo Kestrup".
std::vector<ProgramEntry> ProgramEntries()
{
    std::vector<ProgramEntry> entries;
    CRegKey uninstall;
    if (uninstall.Open(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_READ) != ERROR_SUCCESS)
        return entries;
    char name[256];
    for (DWORD i = 0; ::RegEnumKeyA(uninstall, i, name, sizeof(name)) == ERROR_SUCCESS; ++i)
    {
        CRegKey entry;
        std::string displayName;
        ProgramEntry found;
        if (entry.Open(uninstall, name, KEY_READ) == ERROR_SUCCESS
            && entry.QueryStringValue("DisplayName", displayName) == ERROR_SUCCESS
            && displayName == "vaxo Kestrup")
        {
            entry.QueryStringValue("DisplayVersion", found.version);
            entry.QueryStringValue("Publisher", found.publisher);
            entries.push_back(found);
        }
    }
    return entries;
}

std::string PackageProperty(const std::string& package, const char* property)
{
    MSIHANDLE database = 0;
    if (::MsiOpenDatabaseA(package.c_str(), MSIDBOPEN_READONLY, &database) != ERROR_SUCCESS)
        return "<no package>";
    std::string value;
    MSIHANDLE view = 0;
    MSIHANDLE record = 0;
    const std::string query =
        std::string("SELECT `Value` FROM `Property` WHERE `Property`='") + property + "'";
    if (::MsiDatabaseOpenViewA(database, query.c_str(), &view) == ERROR_SUCCESS
        && ::MsiViewExecute(view, 0) == ERROR_SUCCESS && ::MsiViewFetch(view, &record) == ERROR_SUCCESS)
    {
        char buffer[256] = "";
        DWORD size = sizeof(buffer);
        ::MsiRecordGetStringA(record, 1, buffer, &size);
        value = buffer;
    }
    for (MSIHANDLE handle : {record, view, database})
        if (handle != 0)
            ::MsiCloseHandle(handle);
    return value;
}

class InstallerTest : public ::testing::Test
{
protected:
    void SetUp() override { Uninstall(); }
    void TearDown() override
    {
        Uninstall();
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kCompanyKey);
        ::RegDeleteKeyValueA(HKEY_CURRENT_USER, testreg::kRunKey, "vaxoAutostart1");
    }

    static DWORD Msiexec(const std::string& action, const std::string& package)
    {
        return RunAndWait("msiexec " + action + " \"" + package + "\" /qn");
    }
    void Uninstall() const
    {
        Msiexec("/x", current);
        Msiexec("/x", older);
        Msiexec("/x", rebuilt);
    }

    // The template with the probe as its program, imported with "reg import";
    // `change` edits its text first.
    void ImportTemplate(const std::string& probe, const std::function<void(std::string&)>& change = {})
    {
        std::ifstream file(WindowsPathFromEnvironment("KESTRUP_TEMPLATE"));
        std::stringstream text;
        text << file.rdbuf();
        std::string reg = text.str();
        ASSERT_FALSE(reg.empty()) << "the template could not be read";
        std::string escaped;
        for (char c : probe)
            escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
        Replace(reg, "C:\\\\Shows\\\\player.exe", escaped);
        if (change)
            change(reg);
        const std::string imported = temp.Path() + "slot.reg";
        std::ofstream(imported, std::ios::binary) << reg;
        ASSERT_EQ(0u, RunAndWait("reg import \"" + imported + "\""));
    }
    static void Replace(std::string& text, const std::string& from, const std::string& to)
    {
        const size_t at = text.find(from);
        ASSERT_NE(std::string::npos, at) << from;
        text.replace(at, from.size(), to);
    }

    const std::string current = WindowsPathFromEnvironment("KESTRUP_MSI");
    const std::string older = WindowsPathFromEnvironment("KESTRUP_MSI_OLDER");
    const std::string rebuilt = WindowsPathFromEnvironment("KESTRUP_MSI_REBUILT");
    TempFolder temp{"installer"};
};

TEST_F(InstallerTest, SilentInstallPlacesProgramShortcutAndEntryAndUninstallTakesThemAway)
{
    ASSERT_EQ(0u, Msiexec("/i", current));
    EXPECT_TRUE(Exists(InstalledExe())) << InstalledExe();
    EXPECT_TRUE(ShortcutExists());
    const std::vector<ProgramEntry> entries = ProgramEntries();
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ("vaxo", entries[0].publisher);
    EXPECT_EQ("3.6.0", entries[0].version);
    EXPECT_EQ("KestrupIcon", PackageProperty(current, "ARPPRODUCTICON"))
        << "the entry shows the program's icon";
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(testreg::ReadValue(HKEY_LOCAL_MACHINE, kEventSourceKey, "EventMessageFile", type, data))
        << "the event source is not registered";
    EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), type);
    EXPECT_EQ(0, _stricmp(InstalledExe().c_str(), data.c_str())) << data;
    ASSERT_TRUE(testreg::ReadValue(HKEY_LOCAL_MACHINE, kEventSourceKey, "TypesSupported", type, data));
    EXPECT_EQ(std::string("\x07\0\0\0", 4), data);

    ASSERT_EQ(0u, Msiexec("/x", current));
    EXPECT_FALSE(testreg::KeyExists(HKEY_LOCAL_MACHINE, kEventSourceKey));
    EXPECT_FALSE(Exists(ProgramFiles() + "\\vaxo")) << "files or folders were left behind";
    EXPECT_FALSE(ShortcutExists());
    EXPECT_TRUE(ProgramEntries().empty());
}

TEST_F(InstallerTest, NewerPackageReplacesAnOlderOneAndAnOlderOneIsRefused)
{
    ASSERT_EQ(0u, Msiexec("/i", older));
    ASSERT_EQ(0u, Msiexec("/i", current));
    std::vector<ProgramEntry> entries = ProgramEntries();
    ASSERT_EQ(1u, entries.size()) << "one product after the upgrade";
    EXPECT_EQ("3.6.0", entries[0].version);

    EXPECT_EQ(static_cast<DWORD>(ERROR_INSTALL_FAILURE), Msiexec("/i", older));
    entries = ProgramEntries();
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ("3.6.0", entries[0].version) << "the downgrade replaced the newer version";

    ASSERT_EQ(0u, Msiexec("/i", rebuilt));
    EXPECT_EQ(1u, ProgramEntries().size()) << "another build of the same version replaces it";
}

TEST_F(InstallerTest, ImportedTemplateMakesTheInstalledProgramStartTheSlot)
{
    ASSERT_EQ(0u, Msiexec("/i", current));
    const std::string probe = temp.Path() + "probe.exe";
    InstallProbe(probe);
    const std::string record = temp.Path() + "record.txt";
    ExpectProbeRecordAt(record);
    ImportTemplate(probe);

    EXPECT_EQ(0u, RunAndWait("\"" + InstalledExe() + "\" /run 1"));
    ProbeRecord started;
    ASSERT_TRUE(WaitForProbeRecord(record, started, 20000)) << "the probe did not start";
    EXPECT_EQ("\"" + AsUtf8(probe) + "\" -fullscreen", started.commandLine);
}

TEST_F(InstallerTest, TemplateWithValuesOfAWrongTypeFallsBackToTheDefaults)
{
    const std::string probe = temp.Path() + "probe.exe";
    ImportTemplate(probe, [](std::string& reg) {
        Replace(reg, "\"Delay\"=dword:0000000a", "\"Delay\"=\"10\"");
        Replace(reg, "\"Kiosk\"=dword:00000000", "\"Kiosk\"=hex:01");
    });
    DWORD processId = 0;
    const CKernelHandle process =
        StartProcess("\"" + KestrupExePath() + "\" /run 1", &processId);
    ASSERT_TRUE(process);
    HWND countdown = windows::WaitFor([processId](HWND w) {
        return windows::IsVisibleDialog(w) && windows::BelongsToProcess(w, processId)
               && ::GetDlgItem(w, IDC_WAIT_SECONDS) != nullptr;
    });
    ASSERT_NE(nullptr, countdown) << "no countdown appeared";
    EXPECT_EQ("20", windows::ControlText(countdown, IDC_WAIT_SECONDS)) << "the default delay";
    windows::Press(countdown, IDCANCEL);
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), ::WaitForSingleObject(process.get(), 30000));
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.get(), &exitCode);
    EXPECT_EQ(0u, exitCode);
}
} // namespace
