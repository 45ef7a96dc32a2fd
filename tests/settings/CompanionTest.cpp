#include "app/AutostartApp.h"

#include "tests/support/Registry.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
const char kZentorKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\vaxo Zentor";
const char kOrbxKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ORBX Player";

class CompanionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Clean();
        app.SetCurrentHandles(::GetModuleHandleA(nullptr));
        app.SetRegistryKey("vaxo");
    }
    void TearDown() override { Clean(); }

    static void Clean()
    {
        for (REGSAM view : {REGSAM(0), REGSAM(KEY_WOW64_64KEY)})
        {
            testreg::DeleteTree(HKEY_LOCAL_MACHINE, kZentorKey, view);
            testreg::DeleteTree(HKEY_LOCAL_MACHINE, kOrbxKey, view);
        }
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kCompanyKey);
    }

    TempFolder folder{"companions"};
    CAutostartApp app;
};

struct CompanionCase
{
    const char* description;
    // Makes the installation below the folder; returns the uninstall string.
    std::function<std::string(const TempFolder&)> install;
    bool found;
    REGSAM view = 0;  // where the installer wrote its entry
};

class ZentorDiscoveryTest : public CompanionTest,
                            public ::testing::WithParamInterface<CompanionCase>
{
};

TEST_P(ZentorDiscoveryTest, FindsTheExecutableBesideTheUninstaller)
{
    const CompanionCase& row = GetParam();
    const std::string uninstallString = row.install(folder);
    testreg::SetString(HKEY_LOCAL_MACHINE, kZentorKey, "UninstallString", uninstallString, REG_SZ,
                       row.view);

    app.LoadSettings();

    const std::string expected = row.found ? folder.Path() + "Zentor\\ZENTOR.EXE" : "";
    EXPECT_EQ(expected, app.GetZentorPath()) << row.description << ": <" << uninstallString << ">";
    EXPECT_EQ("", app.GetOrbxPlayerPath()) << row.description;
}

INSTANTIATE_TEST_SUITE_P(
    UninstallStrings, ZentorDiscoveryTest,
    ::testing::Values(
        CompanionCase{"installed",
                      [](const TempFolder& f) {
                          f.MakeFile("Zentor\\ZENTOR.EXE");
                          return f.Path() + "Zentor\\uninst.exe";
                      },
                      true},
        CompanionCase{"installed by a 64-bit installer",
                      [](const TempFolder& f) {
                          f.MakeFile("Zentor\\ZENTOR.EXE");
                          return f.Path() + "Zentor\\uninst.exe";
                      },
                      true, KEY_WOW64_64KEY},
        CompanionCase{"by a 64-bit installer, an older version's entry left in the 32-bit view",
                      [](const TempFolder& f) {
                          testreg::SetString(HKEY_LOCAL_MACHINE, kZentorKey, "UninstallString",
                                             f.MakeFile("Old\\uninst.exe"));
                          f.MakeFile("Zentor\\ZENTOR.EXE");
                          return f.Path() + "Zentor\\uninst.exe";
                      },
                      true, KEY_WOW64_64KEY},
        CompanionCase{"folder without the executable",
                      [](const TempFolder& f) {
                          f.MakeFile("Zentor\\uninst.exe");
                          return f.Path() + "Zentor\\uninst.exe";
                      },
                      false},
        CompanionCase{"quoted uninstall string",
                      [](const TempFolder& f) {
                          f.MakeFile("Zentor\\ZENTOR.EXE");
                          return "\"" + f.Path() + "Zentor\\uninst.exe\"";
                      },
                      false},
        CompanionCase{"uninstall string with /S",
                      [](const TempFolder& f) {
                          f.MakeFile("Zentor\\ZENTOR.EXE");
                          return f.Path() + "Zentor\\uninst.exe /S";
                      },
                      false},
        CompanionCase{"longer than 260 bytes",
                      [](const TempFolder& f) {
                          f.MakeFile("Zentor\\ZENTOR.EXE");
                          return f.Path() + "Zentor\\" + std::string(300, 'u') + ".exe";
                      },
                      false}));

std::string UninstallStringOfLength(const TempFolder& folder, size_t length)
{
    std::string uninstallString = folder.Path() + "Zentor\\";
    uninstallString += std::string(length - uninstallString.size() - 4, 'u') + ".exe";
    return uninstallString;
}

TEST_F(CompanionTest, UninstallStringFillingTheWholeBufferIsRead)
{
    folder.MakeFile("Zentor\\ZENTOR.EXE");
    const std::string uninstallString = UninstallStringOfLength(folder, 259);
    testreg::SetString(HKEY_LOCAL_MACHINE, kZentorKey, "UninstallString", uninstallString);
    app.LoadSettings();
    EXPECT_EQ(folder.Path() + "Zentor\\ZENTOR.EXE", app.GetZentorPath());
}

TEST_F(CompanionTest, UninstallDataOf260BytesWithoutNulIsEndedInsideTheBuffer)
{
    folder.MakeFile("Zentor\\ZENTOR.EXE");
    const std::string uninstallString = UninstallStringOfLength(folder, 260);
    testreg::SetBytes(HKEY_LOCAL_MACHINE, kZentorKey, "UninstallString", REG_BINARY,
                      uninstallString.data(), 260);
    app.LoadSettings();
    EXPECT_EQ(folder.Path() + "Zentor\\ZENTOR.EXE", app.GetZentorPath());
}

TEST_F(CompanionTest, BothCompanionsAreFoundIndependently)
{
    folder.MakeFile("Zentor\\ZENTOR.EXE");
    folder.MakeFile("Player\\ORBXPlayer.exe");
    testreg::SetString(HKEY_LOCAL_MACHINE, kZentorKey, "UninstallString",
                       folder.Path() + "Zentor\\uninst.exe");
    testreg::SetString(HKEY_LOCAL_MACHINE, kOrbxKey, "UninstallString",
                       folder.Path() + "Player\\uninstall.exe");
    app.LoadSettings();
    EXPECT_EQ(folder.Path() + "Zentor\\ZENTOR.EXE", app.GetZentorPath());
    EXPECT_EQ(folder.Path() + "Player\\ORBXPlayer.exe", app.GetOrbxPlayerPath());
}

TEST_F(CompanionTest, MissingUninstallEntriesLeaveBothAbsent)
{
    app.LoadSettings();
    EXPECT_EQ("", app.GetZentorPath());
    EXPECT_EQ("", app.GetOrbxPlayerPath());
}

TEST_F(CompanionTest, UninstallKeyWithoutItsStringLeavesTheCompanionAbsent)
{
    testreg::SetString(HKEY_LOCAL_MACHINE, kOrbxKey, "DisplayName", "ORBX Player");
    app.companions.orbxPlayerPath = "stale";
    app.LoadSettings();
    EXPECT_EQ("", app.GetOrbxPlayerPath());
}
} // namespace
