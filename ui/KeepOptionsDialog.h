#pragma once

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/MessageMap.h"
#include "settings/SlotSettings.h"
#include "ui/ControlTips.h"

// The options of a kept program: a restart at a set time each day, how long a
// window may not respond before the program is started again, the heartbeat,
// the alive file, the display kept on, and the show hours. Values
// in, values out: OK marks what was changed, for the settings' own OK to
// store; what nobody touched stays as stored.
class CKeepOptionsDialog : public CDialog
{
public:
    CKeepOptionsDialog(const SlotSettings& values, CWnd* parent);

    const SlotSettings& Values() const { return values; }

    BOOL PreTranslateMessage(MSG* message) override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnRestartDaily();
    void OnBrowseAlive();
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    SlotSettings values;
    CButton restartCheck;
    CControlTips tips;
};
