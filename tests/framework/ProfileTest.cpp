#include "framework/NativeView.h"
#include "framework/RegKey.h"
#include "framework/WinApp.h"

#include "tests/support/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace
{
const char kCompany[] = "software\\kestrup-profile-test";
const char kSection[] = "software\\kestrup-profile-test\\Profile Test\\Section";

class ProfileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testreg::DeleteTree(HKEY_CURRENT_USER, kCompany);
        app.SetRegistryKey("kestrup-profile-test");
    }
    void TearDown() override { testreg::DeleteTree(HKEY_CURRENT_USER, kCompany); }

    CWinApp app{"Profile Test"};
};

TEST_F(ProfileTest, MissingValuesGiveTheDefaultAndCreateTheSection)
{
    EXPECT_EQ("", app.GetProfileString("Section", "Text"));
    EXPECT_EQ("fallback", app.GetProfileString("Section", "Text", "fallback"));
    EXPECT_EQ(20u, app.GetProfileInt("Section", "Number", 20));
    EXPECT_TRUE(testreg::KeyExists(HKEY_CURRENT_USER, kSection));
}

TEST_F(ProfileTest, WithoutRegistryKeyNothingIsRead)
{
    CWinApp noRegistry("Profile Test");
    EXPECT_EQ("default", noRegistry.GetProfileString("Section", "Text", "default"));
    EXPECT_EQ(3u, noRegistry.GetProfileInt("Section", "Number", 3));
}

struct StoredValue
{
    const char* description;
    DWORD type;
    std::string bytes;
    const char* expectedString;  // GetProfileString with default "default"
    UINT expectedInt;            // GetProfileInt with default 20
};

class ProfileStoredValueTest : public ProfileTest,
                               public ::testing::WithParamInterface<StoredValue>
{
};

TEST_P(ProfileStoredValueTest, ReadsOnlyWhatItsTypeAllows)
{
    const StoredValue& stored = GetParam();
    testreg::SetBytes(HKEY_CURRENT_USER, kSection, "Value", stored.type, stored.bytes.data(),
                      static_cast<DWORD>(stored.bytes.size()));
    EXPECT_EQ(stored.expectedString, app.GetProfileString("Section", "Value", "default"))
        << stored.description;
    EXPECT_EQ(stored.expectedInt, app.GetProfileInt("Section", "Value", 20)) << stored.description;
}

const std::string kDword5("\x05\x00\x00\x00", 4);

INSTANTIATE_TEST_SUITE_P(
    Types, ProfileStoredValueTest,
    ::testing::Values(
        StoredValue{"string", REG_SZ, std::string("abc", 4), "abc", 20},
        StoredValue{"string without NUL", REG_SZ, "abc", "abc", 20},
        StoredValue{"string with inner NUL", REG_SZ, std::string("ab\0cd", 6), "ab", 20},
        StoredValue{"empty string", REG_SZ, std::string("", 1), "", 20},
        StoredValue{"expandable string kept as stored", REG_EXPAND_SZ,
                    std::string("%TEMP%\\x", 9), "%TEMP%\\x", 20},
        StoredValue{"dword", REG_DWORD, kDword5, "default", 5},
        StoredValue{"binary without NUL", REG_BINARY, "abcd", "default", 20},
        StoredValue{"eight bytes", REG_QWORD, std::string("\x05\0\0\0\0\0\0\0", 8), "default",
                    20},
        StoredValue{"two bytes", REG_DWORD, std::string("\x05\0", 2), "default", 20},
        StoredValue{"four bytes of binary", REG_BINARY, kDword5, "default", 20}));

TEST_F(ProfileTest, LongStringIsReadWhole)
{
    const std::string longText(65536, 'x');
    testreg::SetString(HKEY_CURRENT_USER, kSection, "Text", longText);
    EXPECT_EQ(longText, app.GetProfileString("Section", "Text"));
}
// Stand-ins for the system whose answers outgrow the size they gave first,
// as a value changed between two reads (or an ANSI size under UTF-8) does:
// each answer needs `growth` bytes more than the last buffer offered.
struct Growing
{
    static inline std::string text;
    static inline DWORD growth;

    static LONG WINAPI Query(HKEY, LPCSTR, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size)
    {
        *type = REG_SZ;
        const DWORD needed = static_cast<DWORD>(text.size() + 1);
        if (data == nullptr || *size < needed)
        {
            const DWORD offered = data == nullptr ? 0 : *size;
            *size = std::min(needed, offered + growth);
            return data == nullptr ? ERROR_SUCCESS : ERROR_MORE_DATA;
        }
        std::memcpy(data, text.c_str(), needed);
        *size = needed;
        return ERROR_SUCCESS;
    }

    static DWORD WINAPI Expand(LPCWSTR, LPWSTR buffer, DWORD size)
    {
        const DWORD needed = static_cast<DWORD>(text.size() + 1);
        if (size < needed)
            return std::min(needed, size + growth);
        std::copy(text.c_str(), text.c_str() + needed, buffer);
        return needed;
    }
};

TEST(ShortReadTest, ReadsAreMadeAgainUntilTheWholeTextFits)
{
    for (DWORD growth : {1u, 7u, 100000u})
    {
        Growing::text = std::string(300, 'v');
        Growing::growth = growth;
        std::string read;
        EXPECT_EQ(ERROR_SUCCESS, CRegKey().QueryStringValue("Value", read, nullptr, Growing::Query));
        EXPECT_EQ(Growing::text, read) << "registry, growing by " << growth;
        std::string expanded;
        EXPECT_TRUE(ExpandVariables("%GROWING%", expanded, Growing::Expand));
        EXPECT_EQ(Growing::text, expanded) << "expansion, growing by " << growth;
    }
}
} // namespace
