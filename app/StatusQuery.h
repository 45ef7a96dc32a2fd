#pragma once

#include "settings/SlotStore.h"

#include <string>

// The answer of `/status`: 0 while slot N's program runs under its /run of
// this session or that /run keeps it off hours, or, for a slot not kept, once its program was started in this
// logon; 1 while that /run is alive but the program does not run (counting
// down, say); 2 otherwise. Whether a /run is alive is told by the slot's
// instance mutex, not by the stored state, which a /run that crashed leaves
// behind. Without a slot (allSlots): every slot with a Run value, the highest
// answer of them. One line a slot goes to the standard output, or else to the
// console of the program that started this one; no window opens.
// One line to the standard output, or else to the console of the program that
// started this one.
void PrintLine(const std::string& text);

int AnswerStatus(const CSlotStore& store, bool allSlots, int slot);
