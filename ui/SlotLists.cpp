#include "ui/SlotLists.h"

#include "framework/Paths.h"
#include "framework/StringFormat.h"
#include "ui/TextRoom.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace
{
// What a slot starts, as the slot list names it.
std::string Starts(const SlotSettings& values)
{
    switch (values.appType)
    {
    case AppType::Zentor: return "Zentor";
    case AppType::OrbxPlayer: return "ORBX Player";
    case AppType::UserDefined: return values.appPath.empty() ? "User Defined" : FileName(values.appPath);
    default: return "Disable";
    }
}

void Add(CComboBox& list, std::vector<std::string>& texts, const std::string& text, int number)
{
    list.SetItemData(list.AddString(text.c_str()), static_cast<DWORD_PTR>(number));
    texts.push_back(text);
}

void Select(CComboBox& list, int number)
{
    for (int index = 0, count = list.GetCount(); index < count; ++index)
        if (static_cast<int>(list.GetItemData(index)) == number)
            list.SetCurSel(index);
}

// A stored path may be longer than any screen is wide.
int ScreenWidth(HWND window)
{
    MONITORINFO monitor = {sizeof(monitor), {}, {}, 0};
    ::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork.right - monitor.rcWork.left;
}

int LongestEntry(HWND list, const std::vector<std::string>& entries)
{
    int widest = 0;
    for (const std::string& entry : entries)
        widest = std::max(widest, WidthForText(list, entry));
    return widest;
}
} // namespace

void CSlotLists::List(const SlotList& slots, int shown, std::optional<int> startAfter)
{
    // In number order, with the new slot and the one shown where no key has them.
    std::vector<std::pair<int, std::string>> entries;
    for (const auto& [number, values] : slots.stored)
        entries.emplace_back(number, Starts(values));
    for (int added : {slots.unused, shown})
    {
        auto at = entries.begin();
        while (at != entries.end() && at->first < added)
            ++at;
        if (at == entries.end() || at->first != added)
            entries.insert(at, {added, "new"});
    }
    // The Start-after list: the other slots with a key, and the one stored
    // whatever it is.
    std::vector<std::pair<int, std::string>> others;
    slotCombo.ResetContent();
    slotTexts.clear();
    for (const auto& [number, text] : entries)
    {
        const std::string entry = FormatString("%d: %s", number, text.c_str());
        Add(slotCombo, slotTexts, entry, number);
        if (text != "new" && (number != shown || startAfter == number))
            others.emplace_back(number, entry);
    }
    const auto from = [&startAfter](const auto& other) { return other.first >= *startAfter; };
    const auto at = startAfter ? std::find_if(others.begin(), others.end(), from) : others.end();
    if (startAfter && (at == others.end() || at->first != *startAfter))
        others.insert(at, {*startAfter, FormatString("slot %d (not stored)", *startAfter)});
    startAfterCombo.ResetContent();
    startAfterTexts.clear();
    Add(startAfterCombo, startAfterTexts, "(no other slot)", -1);
    for (const auto& [number, entry] : others)
        Add(startAfterCombo, startAfterTexts, entry, number);
    startAfterCombo.SetCurSel(0);
    if (startAfter)
        Select(startAfterCombo, *startAfter);
    SelectSlot(shown);
    FitEntries();
}

void CSlotLists::SelectSlot(int slot)
{
    Select(slotCombo, slot);
}

int CSlotLists::ChosenSlot(int shown) const
{
    const int index = slotCombo.GetCurSel();
    return index < 0 ? shown : static_cast<int>(slotCombo.GetItemData(index));
}

std::optional<int> CSlotLists::ChosenStartAfter(std::optional<int> loaded) const
{
    const int index = startAfterCombo.GetCurSel();
    if (index <= 0)
        return index < 0 ? loaded : std::nullopt;
    return static_cast<int>(startAfterCombo.GetItemData(index));
}

// The Slot list sits beside OK and Cancel, which move over for it; the
// Start-after list has room of its own.
void CSlotLists::FitEntries()
{
    for (auto [list, texts] : {std::pair{&slotCombo, &slotTexts}, std::pair{&startAfterCombo, &startAfterTexts}})
    {
        const int widest = LongestEntry(*list, *texts);
        list->SendMessage(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(std::min(widest, ScreenWidth(*list))));
        WidenInRow(*list, widest, list == &slotCombo);
    }
}
