// The real tool's two windows at the display scales of today's screens and in
// a dark contrast theme, each set up as the user's settings of this prefix.
#include "framework/Handle.h"
#include "tests/support/Process.h"
#include "tests/support/Registry.h"
#include "tests/support/SettingsSession.h"
#include "tests/support/WindowDriver.h"
#include "ui/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace
{
const char kDesktopKey[] = "Control Panel\\Desktop";
const char kColoursKey[] = "Control Panel\\Colors";
const char kThemeKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";

// White text on black, as "Night sky" gives it; visual styles are off in a
// contrast theme.
const std::map<std::string, std::string> kDarkColours = {
    {"Window", "0 0 0"},           {"WindowText", "255 255 255"}, {"GrayText", "63 242 63"},
    {"ButtonFace", "0 0 0"},       {"ButtonText", "255 255 255"}, {"ButtonShadow", "128 128 128"},
    {"ButtonHilight", "255 255 255"}};

// Each banner's share of its window's width at 96 DPI.
constexpr double kSettingsBannerShare = 0.857;
constexpr double kCountdownBannerShare = 0.851;

struct Screen
{
    UINT dpi;
    bool dark;
};

double Luminance(COLORREF colour)
{
    double sum = 0;
    const double weights[] = {0.2126, 0.7152, 0.0722};
    const int channels[] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    for (int i = 0; i < 3; ++i)
    {
        const double c = channels[i] / 255.0;
        sum += weights[i] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return sum;
}

double Contrast(COLORREF a, COLORREF b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// How far the text on the screen stands out: the most frequent colour of the
// area is its ground, the colour furthest from it the text's.
double TextContrast(const RECT& area)
{
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return 0;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    const CGdiObjectT<HBITMAP> shot(::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const HGDIOBJ before = ::SelectObject(memory, shot.get());
    ::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ::SelectObject(memory, before);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    std::map<COLORREF, int> counts;
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int i = 0; i < width * height; ++i)
        ++counts[RGB((pixels[i] >> 16) & 0xFF, (pixels[i] >> 8) & 0xFF, pixels[i] & 0xFF)];
    COLORREF ground = counts.begin()->first;
    for (const auto& [colour, count] : counts)
        if (count > counts[ground])
            ground = colour;
    double furthest = 1;
    for (const auto& entry : counts)
        furthest = std::max(furthest, Contrast(ground, entry.first));
    return furthest;
}

// Pixels the text takes in the dialogs' font ("MS Shell Dlg" 8 pt with
// DS_SHELLFONT) at the DPI, as shown: '&' marks the next character.
int TextWidth(HWND control, UINT dpi)
{
    // Asked for, as GetWindowText does not of another process's list.
    std::wstring text(static_cast<size_t>(::SendMessageW(control, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(
        ::SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    std::wstring shown;
    for (size_t i = 0; i < text.size(); ++i)
        shown += text[i] == L'&' && i + 1 < text.size() ? text[++i] : text[i];
    const CGdiObjectT<HFONT> font(::CreateFontA(-MulDiv(8, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                                                DEFAULT_CHARSET, 0, 0, 0, 0, "MS Shell Dlg 2"));

    HDC dc = ::CreateCompatibleDC(nullptr);
    const HGDIOBJ before = ::SelectObject(dc, font.get());
    SIZE size = {};
    ::GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    ::SelectObject(dc, before);
    ::DeleteDC(dc);
    return size.cx;
}

// The width a control leaves its text: a choice's box and a closed list's
// button take their share.
int RoomForText(HWND control, UINT dpi)
{
    RECT client;
    ::GetClientRect(control, &client);
    const std::string name = windows::ClassName(control);
    const LONG type = ::GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    const int beside = name == "ComboBox" ? 17 + 2 + 2
                       : name != "Button" ? 0
                       : type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON ? 6
                                                                           : 16;
    return client.right - MulDiv(beside, static_cast<int>(dpi), 96);
}

struct Measured
{
    double bannerShare = 0;
    std::vector<std::string> cut;         // texts wider than their control leaves them
    std::vector<std::string> overlapping; // controls over one another
    std::vector<std::string> outside;     // controls not wholly inside the window
    std::vector<std::string> unreadable;  // texts that do not stand out enough
    RECT window = {};
};

Measured Measure(HWND dialog, UINT dpi)
{
    Measured measured;
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::Sleep(200);
    ::GetWindowRect(dialog, &measured.window);
    RECT client;
    ::GetClientRect(dialog, &client);
    ::MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    std::vector<std::pair<RECT, std::string>> placed;  // but group boxes, pictures and spin buttons
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
    {
        RECT rect;
        ::GetWindowRect(child, &rect);
        const std::string name = windows::ClassName(child) + " \"" + windows::Text(child) + "\"";
        if (rect.left < client.left || rect.top < client.top || rect.right > client.right
            || rect.bottom > client.bottom)
            measured.outside.push_back(name);
        const LONG style = ::GetWindowLongA(child, GWL_STYLE);
        const bool isStatic = windows::ClassName(child) == "Static";
        if (isStatic && (style & SS_TYPEMASK) == SS_BITMAP)
            measured.bannerShare = double(rect.right - rect.left) / (client.right - client.left);
        const LONG buttonType = style & BS_TYPEMASK;
        if (!(isStatic && (style & SS_TYPEMASK) == SS_BITMAP) && windows::ClassName(child) != UPDOWN_CLASSA
            && !(windows::ClassName(child) == "Button" && buttonType == BS_GROUPBOX))
        {
            for (const auto& [other, otherName] : placed)
                if (RECT both; ::IntersectRect(&both, &rect, &other))
                    measured.overlapping.push_back(otherName + " / " + name);
            placed.emplace_back(rect, name);
        }
        const bool isLabel =
            isStatic && ((style & SS_TYPEMASK) <= SS_RIGHT || (style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP);
        if ((isLabel || windows::ClassName(child) == "ComboBox"
             || (windows::ClassName(child) == "Button" && buttonType != BS_GROUPBOX))
            && TextWidth(child, dpi) > RoomForText(child, dpi))
            measured.cut.push_back(name + " " + std::to_string(TextWidth(child, dpi)) + " > "
                                   + std::to_string(RoomForText(child, dpi)));
        const bool isChoice = windows::ClassName(child) == "Button"
                              && (buttonType == BS_AUTORADIOBUTTON || buttonType == BS_AUTOCHECKBOX);
        if ((!isStatic && !isChoice) || windows::Text(child).empty() || rect.bottom > screenHeight)
            continue;
        if (isChoice)
            rect.left += rect.bottom - rect.top;  // past the box or circle
        const double contrast = TextContrast(rect);
        if (contrast < (::IsWindowEnabled(child) ? 3.0 : 1.5))
            measured.unreadable.push_back(name + " " + std::to_string(contrast));
    }
    return measured;
}

class ScaleAndThemeTest : public ::testing::TestWithParam<Screen>
{
protected:
    void SetUp() override
    {
        testreg::RemoveSettings(9);
        testreg::SetDword(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", GetParam().dpi);
        if (!GetParam().dark)
            return;
        for (const auto& [name, value] : kDarkColours)
        {
            DWORD type = 0;
            std::string saved;
            if (testreg::ReadValue(HKEY_CURRENT_USER, kColoursKey, name.c_str(), type, saved))
                savedColours[name] = saved;
            testreg::SetString(HKEY_CURRENT_USER, kColoursKey, name.c_str(), value);
        }
        testreg::SetString(HKEY_CURRENT_USER, kThemeKey, "ThemeActive", "0");
    }
    void TearDown() override
    {
        ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels");
        ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kThemeKey, "ThemeActive");
        for (const auto& [name, value] : kDarkColours)
        {
            const auto saved = savedColours.find(name);
            if (saved == savedColours.end())
                ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kColoursKey, name.c_str());
            else
                testreg::SetBytes(HKEY_CURRENT_USER, kColoursKey, name.c_str(), REG_SZ,
                                  saved->second.data(), static_cast<DWORD>(saved->second.size()));
        }
        testreg::RemoveSettings(9);
    }

    std::map<std::string, std::string> savedColours;
};

TEST_P(ScaleAndThemeTest, BannersScaleNothingIsClippedAndEveryTextStandsOut)
{
    const Screen& row = GetParam();
    const std::string where = std::to_string(row.dpi) + " DPI" + (row.dark ? ", dark theme" : "");

    // Kept, so that its options open too.
    testreg::StoreSlot(9, {"C:\\Shows\\nothing.exe", "", "", 0, 20, 3});
    testreg::SetDword(HKEY_CURRENT_USER, testreg::SlotKey(9).c_str(), "KeepRunning", 1);
    DWORD processId = 0;
    CKernelHandle process = StartProcess("\"" + KestrupExePath() + "\" /settings 9", &processId);
    ASSERT_TRUE(process);
    Measured settings, options;
    {
        SettingsSession s(processId, true);
        ASSERT_TRUE(s.Found()) << where;
        settings = Measure(s.Dialog(), row.dpi);
        s.Click(IDC_KEEP_OPTIONS);
        const HWND keeping = windows::WaitFor([&s, processId](HWND w) {
            return w != s.Dialog() && windows::IsVisibleDialog(w) && windows::BelongsToProcess(w, processId);
        });
        EXPECT_NE(nullptr, keeping) << where << ": no options";
        if (keeping != nullptr)
        {
            options = Measure(keeping, row.dpi);
            windows::Press(keeping, IDCANCEL);
            for (int i = 0; i < 100 && ::IsWindow(keeping); ++i)
                ::Sleep(50);
        }
        s.Click(IDCANCEL);
    }
    ::WaitForSingleObject(process.get(), 30000);

    process = StartProcess("\"" + KestrupExePath() + "\" /run 9", &processId);
    ASSERT_TRUE(process);
    HWND countdown = windows::WaitFor([processId](HWND w) {
        return windows::IsVisibleDialog(w) && windows::BelongsToProcess(w, processId);
    });
    ASSERT_NE(nullptr, countdown) << where;
    const Measured waiting = Measure(countdown, row.dpi);
    windows::Press(countdown, IDCANCEL);
    ::WaitForSingleObject(process.get(), 30000);

    EXPECT_NEAR(kSettingsBannerShare, settings.bannerShare, kSettingsBannerShare * 0.05) << where;
    EXPECT_NEAR(kCountdownBannerShare, waiting.bannerShare, kCountdownBannerShare * 0.05) << where;
    EXPECT_EQ(std::vector<std::string>{}, settings.outside) << where;
    EXPECT_EQ(std::vector<std::string>{}, waiting.outside) << where;
    EXPECT_EQ(std::vector<std::string>{}, settings.unreadable) << where;
    EXPECT_EQ(std::vector<std::string>{}, waiting.unreadable) << where;
    EXPECT_EQ(std::vector<std::string>{}, settings.cut) << where;
    EXPECT_EQ(std::vector<std::string>{}, options.cut) << where;
    EXPECT_EQ(std::vector<std::string>{}, options.outside) << where;
    EXPECT_EQ(std::vector<std::string>{}, settings.overlapping) << where;
    EXPECT_EQ(std::vector<std::string>{}, options.overlapping) << where;
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(waiting.window.left >= work.left && waiting.window.top >= work.top
                && waiting.window.right <= work.right && waiting.window.bottom <= work.bottom)
        << where << ": the countdown lies off the screen";
}

INSTANTIATE_TEST_SUITE_P(Screens, ScaleAndThemeTest,
                         ::testing::Values(Screen{96, false}, Screen{120, true}, Screen{144, true},
                                           Screen{192, false}));
} // namespace
