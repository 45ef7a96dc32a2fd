#pragma once

#include <windows.h>

#include <string>

// A dialog's texts set in its font of this system, which may be wider than
// the one its layout was drawn for (Wine's is): a text that would be cut gets
// the room it needs where its row has room.

// Pixels the control needs to show the text whole in its font, with what it
// draws beside the text (a check box's box, a closed list's button).
int WidthForText(HWND control, const std::string& text);
int WidthForWide(HWND control, const std::wstring& text);

// Widens the control to the width, as far as its row allows: first to the
// right, up to the next control or its group's or the window's edge, then to
// the left. With pushRow, the controls to its right on its row move over
// instead, as far as the window's edge allows.
void WidenInRow(HWND control, int width, bool pushRow = false);

// Every label and choice of the dialog as wide as its text needs.
void FitTexts(HWND dialog);
