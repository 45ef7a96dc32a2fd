#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A dialog template resource as stored in the executable (DLGTEMPLATEEX),
// read back so that tests can compare it with what the dialog must be.
struct TemplateItem
{
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    int id;                  // -1 for IDC_STATIC
    std::string className;   // "Button", "Edit", "Static", ... or the registered name
    std::string text;        // "#<n>" for a resource ordinal
};

struct DialogTemplate
{
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string caption;
    WORD pointSize = 0;
    std::string typeface;
    std::vector<TemplateItem> items;
};

// False when the template is missing or is not an extended template.
bool LoadDialogTemplate(UINT id, DialogTemplate& dialog);

// Compares the template's controls, in order, with the expected ones (class
// names without regard to case), recording a failure for every difference.
void ExpectTemplateItems(const DialogTemplate& dialog, const std::vector<TemplateItem>& expected);
