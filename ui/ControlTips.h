#pragma once

#include "framework/Controls.h"

#include <initializer_list>
#include <memory>

// A dialog's tooltips: each control's tip is the string of its id, which
// F1's help shows too. Made once the dialog is, let go with its WM_DESTROY.
class CControlTips
{
public:
    void Create(CWnd* dialog, std::initializer_list<UINT> ids);
    void Relay(MSG* message)
    {
        if (tips)
            tips->RelayEvent(message);
    }
    void Destroy() { tips.reset(); }

private:
    std::unique_ptr<CToolTipCtrl> tips;
};
