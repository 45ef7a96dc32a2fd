#pragma once

#include <windows.h>

// Every slot's countdown opens at the same moment at a logon. Each one takes
// a place where it covers no other countdown: the first stays centred, the
// next go below it, then above it, then beside it, all wholly inside the work
// area of the monitor it opens on. Where no such place is left, it may cover
// others, but never their Abort buttons. The others are found from the
// windows themselves: the visible countdowns of processes of this program.
//
// Moves the countdown there and shows it topmost; no two countdowns choose
// their places at the same time.
void ShowCountdownInFreePlace(HWND countdown);
