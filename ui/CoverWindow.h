#pragma once

#include "ui/PictureFile.h"

#include <windows.h>

#include <string>

// A borderless topmost window over a whole monitor, so that the public sees
// no desktop while the show is not on screen: black, or a picture fitted on
// black with its proportions kept. It never takes the focus, and the pointer
// is hidden over it. A window shown topmost after it (the countdown) stays
// above it.
class CCoverWindow
{
public:
    CCoverWindow() = default;
    ~CCoverWindow();
    CCoverWindow(const CCoverWindow&) = delete;
    CCoverWindow& operator=(const CCoverWindow&) = delete;

    // Covers `monitor` (screen coordinates) with the picture at `picture`
    // ("" none); false where a picture was named but cannot be read: the
    // cover is black then. A picture is read again only when its path changes.
    bool Show(const RECT& monitor, const std::string& picture);
    void Hide();
    bool IsShown() const { return window != nullptr && ::IsWindowVisible(window); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    HWND window = nullptr;
    std::string picturePath;
    bool pictureRead = true;
    CBitmapHandle bitmap;
    SIZE bitmapSize = {};
};
