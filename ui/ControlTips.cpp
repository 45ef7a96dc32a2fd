#include "ui/ControlTips.h"

#include "framework/ResourceString.h"

void CControlTips::Create(CWnd* dialog, std::initializer_list<UINT> ids)
{
    tips = std::make_unique<CToolTipCtrl>();
    if (!tips->Create(dialog))
    {
        tips.reset();
        return;
    }
    for (UINT id : ids)
        tips->AddTool(dialog->m_hWnd, ::GetDlgItem(dialog->m_hWnd, static_cast<int>(id)), ResourceString(id).c_str());
}
