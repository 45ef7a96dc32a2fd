#pragma once

#include "settings/SlotStore.h"

#include <string>

// `/restart` and `/stop`: asks the keeper of the slot in this session (its
// /run) to restart its program, or to stop it and end, naming the program
// that asks and its user. 0 once the keeper has taken the request, within
// 10 s; 1 where it is there but did not take it (the request is then
// withdrawn); 2 where nothing keeps the slot. One line goes out as /status
// prints it; no window opens.
// `relayedFor`: who asked a run as SYSTEM that relayed the request here (see
// Relay.h); none: this run's own asker.
int AskKeeper(const CSlotStore& store, int slot, bool stop, const std::string& relayedFor);

// The program that started this run and this run's user, as
// "powershell.exe, CONTOSO\kiosk".
std::string AskerOfThisRun();
