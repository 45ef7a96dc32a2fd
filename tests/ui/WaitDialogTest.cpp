#include "ui/WaitDialog.h"

#include "tests/support/DialogTemplate.h"
#include "tests/support/WindowDriver.h"
#include "ui/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <climits>

#include <string>
#include <vector>

namespace
{
// The countdown with its launches recorded instead of made. Unless told
// otherwise the real timer is stopped once it was created, so that the test
// delivers every tick itself.
class RecordingWaitDialog : public CWaitDialog
{
public:
    using CWaitDialog::CWaitDialog;

    bool keepRealTimer = false;
    UINT_PTR createdTimer = 0;
    std::vector<std::string> launches;
    BOOL visibleAtLaunch = TRUE;
    bool foregroundAllowedWhileShown = false;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CWaitDialog::OnInitDialog();
        createdTimer = timerId;
        if (timerId != 0 && !keepRealTimer)
            KillTimer(timerId);
        return result;
    }

    void LaunchApplication(std::string path) override
    {
        visibleAtLaunch = ::IsWindowVisible(m_hWnd);
        launches.push_back(path);
        HandOver(4242);
    }

    void AllowForeground(DWORD) override { foregroundAllowedWhileShown = ::IsWindowVisible(m_hWnd) != FALSE; }
};

struct Shown
{
    std::string label;
    int position;
    bool operator==(const Shown& other) const
    {
        return label == other.label && position == other.position;
    }
};

std::ostream& operator<<(std::ostream& out, const Shown& shown)
{
    return out << "{\"" << shown.label << "\", " << shown.position << "}";
}

Shown Read(HWND dialog)
{
    return Shown{windows::ControlText(dialog, IDC_WAIT_SECONDS),
                 static_cast<int>(::SendMessageA(::GetDlgItem(dialog, IDC_WAIT_PROGRESS),
                                                 PBM_GETPOS, 0, 0))};
}

HWND WaitForCountdown(DWORD uiThread)
{
    return windows::WaitFor([uiThread](HWND w) {
        return windows::IsVisibleDialog(w) && windows::BelongsToThread(w, uiThread)
               && ::GetDlgItem(w, IDC_WAIT_PROGRESS) != nullptr;
    });
}

void Tick(HWND dialog)
{
    ::SendMessageA(dialog, WM_TIMER, 1, 0);
}

struct CountdownCase
{
    int delay;
    std::vector<Shown> shown;  // on opening, then after each tick before the launch
};

class CountdownTest : public ::testing::TestWithParam<CountdownCase>
{
};

TEST_P(CountdownTest, ShowsEachSecondAndLaunchesOnTheTickAfterZero)
{
    const CountdownCase& row = GetParam();
    RecordingWaitDialog dialog(row.delay, "C:\\Apps\\show.exe", "", "", 0);
    std::vector<Shown> shown;
    std::vector<size_t> launchesBeforeTick;
    {
        UiDriver driver([&](DWORD uiThread) {
            HWND window = WaitForCountdown(uiThread);
            ASSERT_NE(nullptr, window) << "no countdown window";
            shown.push_back(Read(window));
            for (int tick = 1; tick <= row.delay; ++tick)
            {
                Tick(window);
                shown.push_back(Read(window));
                launchesBeforeTick.push_back(dialog.launches.size());
            }
            Tick(window);
        });
        EXPECT_EQ(IDOK, dialog.DoModal());
    }
    EXPECT_EQ(row.shown, shown) << "delay " << row.delay;
    EXPECT_EQ(std::vector<size_t>(static_cast<size_t>(row.delay), 0), launchesBeforeTick)
        << "nothing starts before the last tick";
    EXPECT_EQ(std::vector<std::string>{"C:\\Apps\\show.exe"}, dialog.launches);
    EXPECT_TRUE(dialog.visibleAtLaunch && dialog.foregroundAllowedWhileShown)
        << "the countdown stays in front until it has let the program's process take the foreground";
    EXPECT_NE(0u, dialog.createdTimer);
}

INSTANTIATE_TEST_SUITE_P(
    Delays, CountdownTest,
    ::testing::Values(CountdownCase{1, {{"1", 0}, {"0", 1}}},
                      CountdownCase{3, {{"3", 0}, {"2", 1}, {"1", 2}, {"0", 3}}}));

TEST(WaitDialogTest, DelayZeroLaunchesDuringInitialisationWithoutATimer)
{
    RecordingWaitDialog dialog(0, "C:\\Apps\\show.exe", "", "", 0);
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(std::vector<std::string>{"C:\\Apps\\show.exe"}, dialog.launches);
    EXPECT_EQ(0u, dialog.createdTimer);
}

// A slot that never starts is waited for up to the time given, then reported
// once, and the program starts all the same.
TEST(WaitDialogTest, StartAfterASlotThatNeverStartsComesAfterTheWait)
{
    RecordingWaitDialog dialog(0, "C:\\Apps\\show.exe", "", "", 0);
    dialog.keepRealTimer = true;
    int late = 0;
    dialog.SetStartAfter([] { return false; }, "Waiting for slot 1 to start", 2000, [&late] { ++late; });
    std::string label;
    size_t launchesWhileWaiting = 1;
    {
        UiDriver driver([&](DWORD uiThread) {
            const HWND countdown = WaitForCountdown(uiThread);
            label = windows::ControlText(countdown, IDC_WAIT_LABEL);
            launchesWhileWaiting = dialog.launches.size();
            for (int i = 0; i < 100 && ::IsWindowVisible(countdown); ++i)
                ::Sleep(100);
        });
        EXPECT_EQ(IDOK, dialog.DoModal());
    }
    EXPECT_EQ("Waiting for slot 1 to start", label);
    EXPECT_EQ(0u, launchesWhileWaiting) << "started before the wait ended";
    EXPECT_EQ(std::vector<std::string>{"C:\\Apps\\show.exe"}, dialog.launches) << "not started after the wait";
    EXPECT_EQ(1, late) << "the late start reported";
}

TEST(WaitDialogTest, AbortBeforeTheLastTickStartsNothing)
{
    RecordingWaitDialog dialog(2, "C:\\Apps\\show.exe", "", "", 0);
    Shown afterTick{};
    {
        UiDriver driver([&](DWORD uiThread) {
            HWND window = WaitForCountdown(uiThread);
            ASSERT_NE(nullptr, window);
            Tick(window);
            Tick(window);
            afterTick = Read(window);
            ::SendMessageA(::GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
        });
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
    }
    EXPECT_EQ((Shown{"0", 2}), afterTick);
    EXPECT_TRUE(dialog.launches.empty());
}

struct LateCase
{
    const char* program;  // on a volume that never comes here
    const char* label;
    const char* folder;   // as the box names it
};

class LateVolumeTest : public ::testing::TestWithParam<LateCase>
{
};

TEST_P(LateVolumeTest, IsNamedWholeOnOneLineAndReportedOnceTheWaitIsOver)
{
    const LateCase& row = GetParam();
    CWaitDialog dialog(0, row.program, "", "", 0);
    dialog.SetLateVolumeWait(1500);
    std::string label, box;
    bool fits = false;
    {
        UiDriver driver([&](DWORD uiThread) {
            HWND text = ::GetDlgItem(WaitForCountdown(uiThread), IDC_WAIT_LABEL);
            label = windows::Text(text);
            RECT place;
            ::GetClientRect(text, &place);
            SIZE extent = {};
            HDC dc = ::GetDC(text);
            ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(text, WM_GETFONT, 0, 0)));
            ::GetTextExtentPoint32A(dc, label.c_str(), static_cast<int>(label.size()), &extent);
            ::ReleaseDC(text, dc);
            fits = extent.cx <= place.right || (::GetWindowLongA(text, GWL_STYLE) & SS_PATHELLIPSIS) != 0;
            HWND error = windows::WaitFor([uiThread](HWND w) {
                return windows::BelongsToThread(w, uiThread) && windows::Text(w) == "Error";
            });
            ASSERT_NE(nullptr, error);
            box = windows::MessageBoxText(error);
            windows::Press(error, IDOK);
        });
        dialog.DoModal();
    }
    EXPECT_EQ(row.label, label);
    EXPECT_TRUE(fits) << label << " runs past its line";
    EXPECT_NE(std::string::npos, box.find(std::string("\nPath: ") + row.folder)) << box;
}

INSTANTIATE_TEST_SUITE_P(
    Volumes, LateVolumeTest,
    ::testing::Values(LateCase{"Q:\\Show\\show.exe", "Waiting for Q:", "Q:\\Show"},
                      LateCase{"\\\\nas-showcontrol-01\\presentations\\show.exe",
                               "Waiting for \\\\nas-showcontrol-01\\presentations",
                               "\\\\nas-showcontrol-01\\presentations"}));

std::string SlowLook(const std::string&)
{
    ::Sleep(3000);
    return std::string();
}

TEST(WaitDialogTest, AnswersAndAbortsWhileALookForALateVolumeHangs)
{
    RecordingWaitDialog dialog(0, "\\\\silent\\share\\show.exe", "", "", 0);
    dialog.SetLateVolumeLook(SlowLook);
    int aborts = 0;
    dialog.SetAbortAction([&aborts](int) { ++aborts; });
    bool answered = false;
    {
        UiDriver driver([&](DWORD uiThread) {
            HWND window = WaitForCountdown(uiThread);
            ASSERT_NE(nullptr, window);
            DWORD_PTR result = 0;
            answered = ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 500, &result) != 0;
            windows::Press(window, IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
    }
    EXPECT_TRUE(answered) << "the countdown did not answer within 500 ms";
    EXPECT_EQ(1, aborts);
    EXPECT_TRUE(dialog.launches.empty());
}

TEST(WaitDialogTest, OkCommandIsIgnored)
{
    RecordingWaitDialog dialog(1, "C:\\Apps\\show.exe", "", "", 0);
    bool openAfterOk = false;
    {
        UiDriver driver([&](DWORD uiThread) {
            HWND window = WaitForCountdown(uiThread);
            ASSERT_NE(nullptr, window);
            ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            ::SendMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
            openAfterOk = ::IsWindowVisible(window) && dialog.launches.empty();
            Tick(window);
            Tick(window);
        });
        EXPECT_EQ(IDOK, dialog.DoModal());
    }
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(1u, dialog.launches.size());
}

TEST(WaitDialogTest, NegativeDelayIsShownAndLaunchesOnTheFirstTick)
{
    for (int delay : {-2, INT_MIN})
    {
        RecordingWaitDialog dialog(delay, "C:\\Apps\\show.exe", "", "", 0);
        std::string label;
        {
            UiDriver driver([&](DWORD uiThread) {
                HWND window = WaitForCountdown(uiThread);
                ASSERT_NE(nullptr, window);
                label = windows::ControlText(window, IDC_WAIT_SECONDS);
                Tick(window);
            });
            EXPECT_EQ(IDOK, dialog.DoModal()) << delay;
        }
        EXPECT_EQ(std::to_string(delay), label);
        EXPECT_NE(0u, dialog.createdTimer) << delay;
        EXPECT_EQ(1u, dialog.launches.size()) << delay;
    }
}

TEST(WaitDialogTest, BarBoundsTakeTheLow16BitsOfTheDelay)
{
    RecordingWaitDialog dialog(70000, "C:\\Apps\\show.exe", "", "", 0);
    PBRANGE range = {};
    Shown first{};
    {
        UiDriver driver([&](DWORD uiThread) {
            HWND window = WaitForCountdown(uiThread);
            ASSERT_NE(nullptr, window);
            ::SendMessageA(::GetDlgItem(window, IDC_WAIT_PROGRESS), PBM_GETRANGE, FALSE,
                           reinterpret_cast<LPARAM>(&range));
            Tick(window);
            first = Read(window);
            windows::Press(window, IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
    }
    EXPECT_EQ(0, range.iLow);
    EXPECT_EQ(70000 & 0xFFFF, range.iHigh);
    EXPECT_EQ("69999", first.label);
}

TEST(WaitDialogTest, RealTimerLaunchesOnItsSecondTick)
{
    RecordingWaitDialog dialog(1, "C:\\Apps\\show.exe", "", "", 0);
    dialog.keepRealTimer = true;
    const DWORD start = ::GetTickCount();
    {
        // Closes the countdown only if it never ends by itself.
        UiDriver driver([&](DWORD uiThread) {
            for (int i = 0; i < 300 && !windows::DialogsOfThread(uiThread).empty(); ++i)
                ::Sleep(100);
        });
        EXPECT_EQ(IDOK, dialog.DoModal());
    }
    const DWORD elapsed = ::GetTickCount() - start;
    EXPECT_EQ(1u, dialog.launches.size());
    EXPECT_GE(elapsed, 1900u) << "the launch comes with the second one-second tick";
}

TEST(WaitDialogTest, WindowIsATopmostToolWindowBuiltFromItsTemplate)
{
    RecordingWaitDialog dialog(5, "C:\\Apps\\show.exe", "", "", 0);
    LONG style = 0;
    LONG exStyle = 0;
    std::vector<int> ids;
    std::vector<std::string> classes;
    std::string abort;
    BITMAP banner = {};
    {
        UiDriver driver([&](DWORD uiThread) {
            HWND window = WaitForCountdown(uiThread);
            ASSERT_NE(nullptr, window);
            style = ::GetWindowLongA(window, GWL_STYLE);
            exStyle = ::GetWindowLongA(window, GWL_EXSTYLE);
            for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
                 child = ::GetWindow(child, GW_HWNDNEXT))
            {
                ids.push_back(static_cast<short>(::GetDlgCtrlID(child)));
                classes.push_back(windows::ClassName(child));
            }
            abort = windows::ControlText(window, IDCANCEL);
            HWND picture = ::GetWindow(::GetDlgItem(window, IDC_WAIT_SECONDS), GW_HWNDNEXT);
            HBITMAP image = reinterpret_cast<HBITMAP>(
                ::SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
            ::GetObjectA(image, sizeof(banner), &banner);
            windows::Press(window, IDCANCEL);
        });
        dialog.DoModal();
    }
    EXPECT_EQ(WS_POPUP | WS_BORDER, style & (WS_POPUP | WS_BORDER | WS_CAPTION));
    EXPECT_EQ(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, exStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
    EXPECT_EQ((std::vector<int>{IDCANCEL, IDC_WAIT_PROGRESS, IDC_WAIT_LABEL, IDC_WAIT_SECONDS, -1}), ids);
    EXPECT_EQ((std::vector<std::string>{"Button", "msctls_progress32", "Static", "Static",
                                        "Static"}),
              classes);
    EXPECT_EQ("Abort", abort);
    EXPECT_EQ(280, banner.bmWidth);
    EXPECT_EQ(102, banner.bmHeight);
}

TEST(WaitDialogTemplateTest, MatchesTheCountdownsLayout)
{
    DialogTemplate dialog;
    ASSERT_TRUE(LoadDialogTemplate(IDD_WAIT, dialog));
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_BORDER | DS_CENTER | DS_SETFOREGROUND | DS_SETFONT
                                 | DS_FIXEDSYS),
              dialog.style);
    EXPECT_EQ(static_cast<DWORD>(WS_EX_TOPMOST | WS_EX_TOOLWINDOW), dialog.exStyle);
    EXPECT_EQ(188, dialog.cx);
    EXPECT_EQ(119, dialog.cy);
    EXPECT_EQ("", dialog.caption);
    EXPECT_EQ(8, dialog.pointSize);
    EXPECT_EQ("MS Shell Dlg", dialog.typeface);

    // style, extended style, x, y, width, height, id, class, text
    ExpectTemplateItems(dialog, {
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 68, 96, 50, 14, IDCANCEL, "Button", "Abort"},
        {WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 36, 66, 115, 14, IDC_WAIT_PROGRESS,
         "msctls_progress32", ""},
        {WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 0, 36, 84, 51, 8, IDC_WAIT_LABEL, "Static",
         "Time remaining:"},
        {WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, WS_EX_TRANSPARENT, 90, 84, 19, 8,
         IDC_WAIT_SECONDS, "Static", ""},
        {WS_CHILD | WS_VISIBLE | SS_BITMAP, 0, 0, 0, 187, 63, -1, "Static", "#132"},
    });
}

TEST(WaitDialogTest, TextsAndBackgroundAreWhite)
{
    RecordingWaitDialog dialog(5, "C:\\Apps\\show.exe", "", "", 0);
    HBRUSH dialogBrush = nullptr;
    HBRUSH staticBrush = nullptr;
    HBRUSH buttonBrush = nullptr;
    int backgroundMode = 0;
    COLORREF backgroundColour = 0;
    {
        UiDriver driver([&](DWORD uiThread) {
            HWND window = WaitForCountdown(uiThread);
            ASSERT_NE(nullptr, window);
            HDC dc = ::CreateCompatibleDC(nullptr);
            dialogBrush = reinterpret_cast<HBRUSH>(::SendMessageA(
                window, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)));
            staticBrush = reinterpret_cast<HBRUSH>(
                ::SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(::GetDlgItem(window, IDC_WAIT_SECONDS))));
            backgroundMode = ::GetBkMode(dc);
            backgroundColour = ::GetBkColor(dc);
            buttonBrush = reinterpret_cast<HBRUSH>(
                ::SendMessageA(window, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(::GetDlgItem(window, IDCANCEL))));
            ::DeleteDC(dc);
            windows::Press(window, IDCANCEL);
        });
        dialog.DoModal();
    }
    LOGBRUSH colour = {};
    ASSERT_NE(0, ::GetObjectA(dialogBrush, sizeof(colour), &colour));
    EXPECT_EQ(RGB(255, 255, 255), colour.lbColor);
    EXPECT_EQ(dialogBrush, staticBrush);
    EXPECT_EQ(TRANSPARENT, backgroundMode);
    EXPECT_EQ(RGB(255, 255, 255), backgroundColour);
    EXPECT_NE(dialogBrush, buttonBrush) << "the Abort button keeps the system's look";
}

TEST(WaitDialogTest, CarriesItsRunTimeClass)
{
    CWaitDialog dialog(1, "a", "", "", 0);
    EXPECT_STREQ("CWaitDialog", dialog.GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(dialog.IsKindOf(RUNTIME_CLASS(CDialog)));
    EXPECT_FALSE(CWnd().IsKindOf(RUNTIME_CLASS(CWaitDialog)));
}
} // namespace
