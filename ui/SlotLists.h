#pragma once

#include "framework/Controls.h"
#include "settings/SlotSettings.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The settings window's two lists of slots: the Slot list (every stored slot
// with what it starts, the new one and the one shown) and the Start-after
// list (the other slots with a program, after "(no other slot)"). Slot
// numbers in and out; the window says when to list and what was chosen.
class CSlotLists
{
public:
    CComboBox& SlotBox() { return slotCombo; }
    CComboBox& StartAfterBox() { return startAfterCombo; }

    // Lists the slots anew, the one shown and the one it starts after
    // selected. A slot started after that is not listed keeps an entry of its
    // own, so that the value stays as stored.
    void List(const SlotList& slots, int shown, std::optional<int> startAfter);
    void SelectSlot(int slot);
    // The slot the Slot list selects; `shown` where it selects none.
    int ChosenSlot(int shown) const;
    // The slot the Start-after list selects; `loaded` before it was listed.
    std::optional<int> ChosenStartAfter(std::optional<int> loaded) const;
    int StartAfterIndex() const { return startAfterCombo.GetCurSel(); }
    bool SlotListOpen() const { return slotCombo.GetDroppedState(); }
    // The Slot list's notifications, each true where it makes a choice now.
    // The open list's selection follows the arrow keys, typing and the wheel
    // (and, on some systems, the mouse): only a change of the closed list's
    // is a choice. Windows promises no order of these notifications; a choice
    // made in the open list is taken once the list has closed, so that no
    // question comes over it.
    bool ChoiceBySelChange() const { return !SlotListOpen(); }
    bool ChoiceBySelEndOk()
    {
        choiceMade = choiceMade || SlotListOpen();
        return !SlotListOpen();
    }
    bool ChoiceByCloseUp() { return std::exchange(choiceMade, false); }
    void CancelChoice(int shown)
    {
        choiceMade = false;
        SelectSlot(shown);
    }
    // Each list opens as wide as its longest entry, and the closed boxes grow
    // into the room beside them for the entries to read whole.
    void FitEntries();

private:
    CComboBox slotCombo;
    CComboBox startAfterCombo;
    // Their entries, as listed.
    std::vector<std::string> slotTexts;
    std::vector<std::string> startAfterTexts;
    // A choice made in the open list, taken once the list has closed.
    bool choiceMade = false;
};
