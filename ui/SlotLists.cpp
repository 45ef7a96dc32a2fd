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

void Add(CComboBox& list, const std::string& text, int number)
{
    list.SetItemData(list.AddString(text.c_str()), static_cast<DWORD_PTR>(number));
}

void Select(CComboBox& list, int number)
{
    for (int index = 0, count = list.GetCount(); index < count; ++index)
        if (static_cast<int>(list.GetItemData(index)) == number)
            list.SetCurSel(index);
}

int LongestEntry(CComboBox& list)
{
    int widest = 0;
    for (int index = 0, count = list.GetCount(); index < count; ++index)
    {
        std::string text(static_cast<size_t>(list.SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index))) + 1, '\0');
        text.resize(static_cast<size_t>(
            list.SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()))));
        widest = std::max(widest, WidthForText(list, text));
    }
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
    for (const auto& [number, text] : entries)
    {
        const std::string entry = FormatString("%d: %s", number, text.c_str());
        Add(slotCombo, entry, number);
        if (text != "new" && (number != shown || startAfter == number))
            others.emplace_back(number, entry);
    }
    const auto from = [&startAfter](const auto& other) { return other.first >= *startAfter; };
    const auto at = startAfter ? std::find_if(others.begin(), others.end(), from) : others.end();
    if (startAfter && (at == others.end() || at->first != *startAfter))
        others.insert(at, {*startAfter, FormatString("slot %d (not stored)", *startAfter)});
    startAfterCombo.ResetContent();
    Add(startAfterCombo, "(no other slot)", -1);
    for (const auto& [number, entry] : others)
        Add(startAfterCombo, entry, number);
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
    for (CComboBox* list : {&slotCombo, &startAfterCombo})
    {
        const int widest = LongestEntry(*list);
        list->SendMessage(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest));
        WidenInRow(*list, widest, list == &slotCombo);
    }
}
