#include "framework/Dialog.h"

#include "ui/resource.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{
// A dialog whose first timer tick fails.
class FailingDialog : public CDialog
{
public:
    FailingDialog() : CDialog(IDD_WAIT) {}

protected:
    BOOL OnInitDialog() override
    {
        ::SetTimer(m_hWnd, 1, 10, nullptr);
        return CDialog::OnInitDialog();
    }
    BOOL OnWndMsg(UINT message, WPARAM, LPARAM, LRESULT&) override
    {
        if (message == WM_TIMER)
            throw std::runtime_error("handler failed");
        return FALSE;
    }
};

TEST(DialogTest, AnExceptionInAHandlerEndsTheDialogWithMinusOne)
{
    FailingDialog dialog;
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_EQ(nullptr, dialog.GetSafeHwnd()) << "the window is gone";
}
} // namespace
