#include "settings/SlotStore.h"

#include "framework/Handle.h"
#include "framework/SystemMessage.h"
#include "framework/WinApp.h"
#include "tests/support/Registry.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace
{
const char kTool[] = "C:\\Tools\\tool.exe";

// Writes for real, except the value named to fail, which it refuses with the
// given code; records the names it was asked to write.
class RefusingWriter : public CRegistryWriter
{
public:
    std::string refusedName;
    LONG refusal = ERROR_ACCESS_DENIED;
    std::vector<std::string> names;

    LONG SetString(const CRegKey& key, const char* name, const std::string& value, DWORD type) override
    {
        return Refuses(name) ? refusal : CRegistryWriter::SetString(key, name, value, type);
    }
    LONG SetDword(const CRegKey& key, const char* name, DWORD value) override
    {
        return Refuses(name) ? refusal : CRegistryWriter::SetDword(key, name, value);
    }

private:
    bool Refuses(const char* name)
    {
        names.push_back(name);
        return refusedName == name;
    }
};

SlotSettings UserDefined(const char* appPath)
{
    SlotSettings values;
    values.appType = AppType::UserDefined;
    values.appPath = appPath;
    values.delay = 20;
    return values;
}

class SlotStoreSaveTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Clean();
        profile.SetRegistryKey("vaxo");
    }
    void TearDown() override { Clean(); }

    static void Clean()
    {
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kCompanyKey);
        for (int slot : {0, 3, 7})
            ::RegDeleteKeyValueA(HKEY_CURRENT_USER, testreg::kRunKey, RunName(slot).c_str());
    }

    static std::string RunName(int slot) { return "vaxoAutostart" + std::to_string(slot); }

    // The error text, or "" when the save succeeded.
    std::string Save(int slot, const SlotSettings& values, const std::string& tool = kTool)
    {
        return store.Save(slot, values, tool);
    }

    static std::string RunValue(int slot, DWORD* type = nullptr)
    {
        DWORD valueType = 0;
        std::string data;
        if (!testreg::ReadValue(HKEY_CURRENT_USER, testreg::kRunKey, RunName(slot).c_str(),
                                valueType, data))
            return "<none>";
        if (type != nullptr)
            *type = valueType;
        return data;
    }

    static void Register(int slot)
    {
        testreg::SetString(HKEY_CURRENT_USER, testreg::kRunKey, RunName(slot).c_str(), "old");
        testreg::SetString(HKEY_CURRENT_USER, testreg::SlotKey(slot).c_str(), "AppPath", "old");
    }

    static void ExpectNoAutostart(int slot)
    {
        EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, testreg::SlotKey(slot).c_str()));
        EXPECT_EQ("<none>", RunValue(slot));
    }

    static void ExpectOldAutostart(int slot)
    {
        const std::string old("old", 4);
        EXPECT_EQ(old, RunValue(slot));
        EXPECT_EQ(old, Raw(slot, "AppPath", REG_SZ));
    }

    static std::string Raw(int slot, const char* name, DWORD expectedType)
    {
        DWORD type = 0;
        std::string data;
        if (!testreg::ReadValue(HKEY_CURRENT_USER, testreg::SlotKey(slot).c_str(), name, type, data))
            return "<none>";
        return type == expectedType ? data : "<wrong type>";
    }
    static std::string Dword(DWORD value) { return std::string(reinterpret_cast<char*>(&value), 4); }

    CWinApp profile{"vaxo Kestrup V3.6"};
    RefusingWriter writer;
    CSlotStore store{profile, writer};
};

TEST_F(SlotStoreSaveTest, StoresTheValuesWithTheirTypesAndRegisters)
{
    SlotSettings values;
    values.appType = AppType::OrbxPlayer;
    values.appPath = "\"C:\\Suite\\Player\\ORBXPlayer.exe\"";  // pasted as Explorer copies it
    values.parameter = "-loop";
    values.kiosk = 2;
    values.delay = 15;
    values.keepRunning = true;
    ASSERT_EQ("", Save(0, values));

    EXPECT_EQ(std::string("C:\\Suite\\Player\\ORBXPlayer.exe", 31), Raw(0, "AppPath", REG_SZ))
        << "REG_SZ data with its terminating NUL";
    EXPECT_EQ(std::string("", 1), Raw(0, "ShowPath", REG_SZ));
    EXPECT_EQ(std::string("-loop", 6), Raw(0, "Parameter", REG_SZ));
    EXPECT_EQ(Dword(1), Raw(0, "Kiosk", REG_DWORD)) << "kiosk is stored as 1 or 0";
    EXPECT_EQ(Dword(15), Raw(0, "Delay", REG_DWORD));
    EXPECT_EQ(Dword(2), Raw(0, "Mode", REG_DWORD));
    EXPECT_EQ(Dword(1), Raw(0, "KeepRunning", REG_DWORD));
    const std::vector<std::string> order{"AppPath", "ShowPath", "Parameter",   "Kiosk",
                                         "Delay",   "Mode",     "KeepRunning", "vaxoAutostart0"};
    EXPECT_EQ(order, writer.names);
    DWORD type = 0;
    EXPECT_EQ(std::string("\"C:\\Tools\\tool.exe\" /run 0", 27), RunValue(0, &type));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
}

TEST_F(SlotStoreSaveTest, Slot7LeavesSlot0Alone)
{
    Register(0);
    ASSERT_EQ("", Save(7, UserDefined("C:\\seven.exe")));
    EXPECT_EQ(std::string("C:\\seven.exe", 13), Raw(7, "AppPath", REG_SZ));
    EXPECT_EQ(std::string("\"C:\\Tools\\tool.exe\" /run 7", 27), RunValue(7));
    EXPECT_EQ(std::string("old", 4), Raw(0, "AppPath", REG_SZ));
    EXPECT_EQ(std::string("old", 4), RunValue(0));
}

TEST_F(SlotStoreSaveTest, DisableRemovesTheSlotAndItsRegistrationOrFindsNothingToRemove)
{
    SlotSettings disable;
    disable.delay = 20;
    ::RegDeleteKeyA(HKEY_CURRENT_USER, testreg::kRunKey);
    ASSERT_EQ("", Save(3, disable)) << "a slot never registered, on a profile without a Run key";
    ExpectNoAutostart(3);

    ASSERT_EQ("", Save(0, UserDefined("C:\\a.exe")));
    ASSERT_NE("<none>", RunValue(0));
    ASSERT_EQ("", Save(0, disable));
    ExpectNoAutostart(0);
}

struct FailingWrite
{
    const char* name;
    LONG code;
    const char* text;  // empty: the system's text for the code
    bool wroteNothing = false;  // the slot then keeps its old autostart
};

class SlotStoreFailingWriteTest : public SlotStoreSaveTest,
                                  public ::testing::WithParamInterface<FailingWrite>
{
};

TEST_P(SlotStoreFailingWriteTest, ReportsItWritesNothingMoreAndLeavesNoAutostart)
{
    const FailingWrite& row = GetParam();
    Register(0);
    writer.refusedName = row.name;
    writer.refusal = row.code;
    std::string expected = row.text;
    if (expected.empty())
        expected = SystemMessageOrCode(static_cast<DWORD>(row.code));

    EXPECT_EQ(expected, Save(0, UserDefined("C:\\a.exe"))) << row.name;
    EXPECT_EQ(row.name, writer.names.back()) << "writes stop at the failure";
    if (row.wroteNothing)
        ExpectOldAutostart(0);
    else
        ExpectNoAutostart(0);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SlotStoreFailingWriteTest,
    ::testing::Values(FailingWrite{"AppPath", ERROR_ACCESS_DENIED, "Could not save application path\n", true},
                      FailingWrite{"ShowPath", ERROR_ACCESS_DENIED, "Could not save showfile path"},
                      FailingWrite{"Parameter", ERROR_ACCESS_DENIED, "Could not save paramter"},
                      FailingWrite{"Kiosk", ERROR_ACCESS_DENIED, "Could not save kiosk flag"},
                      FailingWrite{"Delay", ERROR_ACCESS_DENIED, "Could not save delay time"},
                      FailingWrite{"Mode", ERROR_ACCESS_DENIED, "Could not save mode flag"},
                      FailingWrite{"KeepRunning", ERROR_ACCESS_DENIED, "Could not save keep running flag"},
                      FailingWrite{"vaxoAutostart0", ERROR_ACCESS_DENIED, ""},
                      FailingWrite{"vaxoAutostart0", static_cast<LONG>(0xE0004321),
                                   "Error 3758113569"}));

TEST_F(SlotStoreSaveTest, SlotLockedForReadingKeepsItsAutostartWhateverIsSaved)
{
    for (AppType type : {AppType::UserDefined, AppType::Disable})
    {
        Register(0);
        testreg::SetKeyAccess(testreg::SlotKey(0), testreg::kReadOnly);
        SlotSettings values = UserDefined("C:\\a.exe");
        values.appType = type;
        EXPECT_EQ("Could not save application path\n", Save(0, values)) << static_cast<int>(type);
        testreg::SetKeyAccess(testreg::SlotKey(0), testreg::kFullAccess);
        ExpectOldAutostart(0);
    }
}

TEST_F(SlotStoreSaveTest, DisableSaysWhyTheSlotKeyStaysAndStillUnregisters)
{
    Register(0);
    testreg::SetString(HKEY_CURRENT_USER, (testreg::SlotKey(0) + "\\Kept").c_str(), "x", "y");
    SlotSettings disable;
    const std::string failure = Save(0, disable);
    EXPECT_EQ(SystemMessageOrCode(ERROR_ACCESS_DENIED), failure);
    EXPECT_EQ("<none>", RunValue(0));
}

TEST_F(SlotStoreSaveTest, ExecutableWithoutAUsablePathIsNotRegisteredAndTheSlotStays)
{
    for (const std::string& tool : {std::string(), "C:\\" + std::string(MAX_PATH + 40, 'k') + ".exe"})
    {
        Register(7);
        const std::string failure = Save(7, UserDefined("C:\\a.exe"), tool);
        EXPECT_EQ(0u, failure.find("Could not register the autostart")) << failure;
        ExpectOldAutostart(7);
    }
}

TEST_F(SlotStoreSaveTest, SavingOrRemovingClearsTheSlotsDisabledMarkOnly)
{
    const char kApproved[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
    const std::string disabled("\x03\0\0\0\0\0\0\0\0\0\0\0", 12);
    auto marked = [&](const char* name) {
        DWORD type = 0;
        std::string data;
        return testreg::ReadValue(HKEY_CURRENT_USER, kApproved, name, type, data);
    };
    for (const char* name : {"vaxoAutostart0", "vaxoAutostart7", "Other"})
        testreg::SetBytes(HKEY_CURRENT_USER, kApproved, name, REG_BINARY, disabled.data(), 12);

    ASSERT_EQ("", Save(0, UserDefined("C:\\a.exe")));
    EXPECT_FALSE(marked("vaxoAutostart0"));
    EXPECT_TRUE(marked("vaxoAutostart7"));
    EXPECT_TRUE(marked("Other"));
    EXPECT_EQ(ERROR_SUCCESS, store.RemoveAutostart(7)) << "slot 7 was never saved";
    EXPECT_FALSE(marked("vaxoAutostart7"));
    EXPECT_TRUE(marked("Other"));
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kApproved, "Other");
}

TEST_F(SlotStoreSaveTest, ASaveWaitsWhileAnotherHoldsTheSlot)
{
    const CKernelHandle held(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const CKernelHandle release(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::thread other([&] {
        const CKernelHandle mutex(::CreateMutexA(nullptr, TRUE, "Local\\vaxoKestrupSlot0"));
        ::SetEvent(held.get());
        ::WaitForSingleObject(release.get(), INFINITE);
        ::ReleaseMutex(mutex.get());
    });
    ::WaitForSingleObject(held.get(), INFINITE);
    std::thread saving([this] { Save(0, UserDefined("C:\\a.exe")); });
    ::Sleep(300);
    EXPECT_TRUE(writer.names.empty()) << "the save wrote while the slot was held";
    ::SetEvent(release.get());
    saving.join();
    other.join();
    EXPECT_EQ(8u, writer.names.size());
}

TEST_F(SlotStoreSaveTest, RemovalWithoutAProfileKeyStillUnregistersAndSaysSo)
{
    testreg::SetString(HKEY_CURRENT_USER, testreg::kRunKey, "vaxoAutostart0", "old");
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, store.RemoveAutostart(0));
    EXPECT_EQ("<none>", RunValue(0));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, store.RemoveAutostart(0))
        << "a Run value already gone counts as removed, the missing profile key does not";
}
} // namespace
