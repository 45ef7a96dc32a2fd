#include "tests/support/SettingsSession.h"

#include "tests/support/WindowDriver.h"
#include "ui/resource.h"

#include <commctrl.h>

#include <vector>

namespace
{
bool Owned(HWND window, DWORD owner, bool byProcess)
{
    return byProcess ? windows::BelongsToProcess(window, owner)
                     : windows::BelongsToThread(window, owner);
}
} // namespace

SeenBox AnswerBoxOf(DWORD owner, bool byProcess, HWND except, DWORD timeoutMs, int button)
{
    SeenBox seen;
    HWND box = windows::WaitFor([&](HWND w) {
        return w != except && windows::IsVisibleDialog(w) && Owned(w, owner, byProcess)
               && ::GetDlgItem(w, IDC_APP_PATH) == nullptr;
    }, timeoutMs);
    if (box == nullptr)
        return seen;
    seen.found = true;
    seen.caption = windows::Text(box);
    seen.text = windows::MessageBoxText(box);
    seen.owner = ::GetWindow(box, GW_OWNER);
    windows::Press(box, button);
    windows::WaitFor([box](HWND) { return !::IsWindow(box); }, 10000);
    for (int i = 0; i < 500 && ::IsWindow(box); ++i)
        ::Sleep(20);
    return seen;
}

SettingsSession::SettingsSession(DWORD owner, bool byProcess) : owner(owner), byProcess(byProcess)
{
    dialog = windows::WaitFor([this](HWND w) { return Matches(w); });
}

bool SettingsSession::Matches(HWND window) const
{
    return windows::IsVisibleDialog(window) && Owned(window, owner, byProcess)
           && ::GetDlgItem(window, IDC_APP_PATH) != nullptr;
}

void SettingsSession::Click(int id)
{
    ::SendNotifyMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    DWORD_PTR ignored;
    ::SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored);
}

void SettingsSession::Type(int id, const std::string& text)
{
    std::vector<wchar_t> wide(text.size() + 1, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    ::SendMessageW(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.data()));
}

void SettingsSession::ChooseSlot(int slot)
{
    const HWND list = ::GetDlgItem(dialog, IDC_SLOT);
    ::SendMessageA(list, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>((std::to_string(slot) + ":").c_str()));
    ::SendNotifyMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SLOT, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    DWORD_PTR ignored;
    ::SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored);
}

void SettingsSession::PressOnSlotList(WORD key)
{
    const HWND list = ::GetDlgItem(dialog, IDC_SLOT);
    ::SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    auto state = [list] {
        return ::SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) << 16 | ::SendMessageA(list, CB_GETCURSEL, 0, 0);
    };
    const LRESULT before = state();
    windows::PressKey(dialog, key);
    for (int i = 0; i < 250 && state() == before; ++i)
        ::Sleep(20);
}

SettingsFields SettingsSession::Read() const
{
    auto readOnly = [this](int id) {
        return (::GetWindowLongA(::GetDlgItem(dialog, id), GWL_STYLE) & ES_READONLY) != 0;
    };
    auto enabled = [this](int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != 0; };
    auto checked = [this](int id) {
        return ::SendMessageA(::GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    };

    SettingsFields fields;
    for (int id : {IDC_DISABLE, IDC_ZENTOR, IDC_ORBX_PLAYER, IDC_USER_DEFINED})
        if (checked(id))
            fields.checkedRadio = fields.checkedRadio == 0 ? id : -1;
    fields.zentorEnabled = enabled(IDC_ZENTOR);
    fields.orbxEnabled = enabled(IDC_ORBX_PLAYER);
    fields.appPathReadOnly = readOnly(IDC_APP_PATH);
    fields.showPathReadOnly = readOnly(IDC_SHOW_PATH);
    fields.parameterReadOnly = readOnly(IDC_PARAMETER);
    fields.delayReadOnly = readOnly(IDC_DELAY);
    fields.browseAppEnabled = enabled(IDC_BROWSE_APP);
    fields.browseShowEnabled = enabled(IDC_BROWSE_SHOW);
    fields.kioskEnabled = enabled(IDC_KIOSK);
    fields.spinEnabled = enabled(IDC_DELAY_SPIN);
    fields.keepRunningEnabled = enabled(IDC_KEEP_RUNNING);
    fields.kioskChecked = checked(IDC_KIOSK);
    fields.appPath = windows::ControlText(dialog, IDC_APP_PATH);
    fields.showPath = windows::ControlText(dialog, IDC_SHOW_PATH);
    fields.parameter = windows::ControlText(dialog, IDC_PARAMETER);
    fields.delay = windows::ControlText(dialog, IDC_DELAY);
    fields.title = windows::Text(dialog);
    fields.slot = windows::ControlText(dialog, IDC_SLOT);
    fields.startAfter = windows::ControlText(dialog, IDC_START_AFTER);
    fields.slotListOpen = ::SendDlgItemMessageA(dialog, IDC_SLOT, CB_GETDROPPEDSTATE, 0, 0) != 0;
    // Wine hands another process's entries over in UTF-16 only; the tests' are ASCII.
    for (LRESULT i = 0, n; (n = ::SendDlgItemMessageW(dialog, IDC_SLOT, CB_GETLBTEXTLEN, i, 0)) >= 0; ++i)
    {
        std::wstring text(static_cast<size_t>(n) + 1, L'\0');
        ::SendDlgItemMessageW(dialog, IDC_SLOT, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        fields.slots.emplace_back(text.begin(), text.begin() + n);
    }
    return fields;
}

SeenBox SettingsSession::AnswerBox(int button, DWORD timeoutMs)
{
    return AnswerBoxOf(owner, byProcess, dialog, timeoutMs, button);
}

bool SettingsSession::WaitUntilClosed(DWORD timeoutMs) const
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 20)
    {
        if (!::IsWindow(dialog) || !::IsWindowVisible(dialog))
            return true;
        ::Sleep(20);
    }
    return false;
}
