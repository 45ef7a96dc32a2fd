#pragma once

#include "framework/Wnd.h"

class CDataExchange;

// A dialog on a template resource, run modally by the framework's own loop:
// every queued message goes through PreTranslateMessage, then the dialog
// manager. Handlers are virtual methods and the class's message map.
class CDialog : public CWnd
{
public:
    static const CRuntimeClass classCDialog;
    const CRuntimeClass* GetRuntimeClass() const override { return &classCDialog; }

    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    void EndDialog(int result);

    // TRUE reads the controls into the members (and validates), FALSE writes
    // the members into the controls. Returns whether every exchange succeeded.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    BOOL PreTranslateMessage(MSG* message) override;

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* dx);
    // F1: the application's help for the control in use, through the Help
    // command.
    virtual BOOL OnHelpInfo(HELPINFO* info);

    // The message map; the base handles nothing.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void RunModalLoop();
    void CenterIfNotPlaced(const RECT& before);

    UINT m_templateId;
    CWnd* m_pParentWnd;
    bool m_continueModal = false;
    int m_modalResult = -1;
};
