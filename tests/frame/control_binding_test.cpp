#include "frame/control_binding.h"

#include <gtest/gtest.h>

#include <string>

#include "base/zstring.h"
#include "frame/dialog_base.h"
#include "tests/frame/frame_test_ids.h"

namespace {

// A modeless test dialog with its edit bound.
class EditDialog : public DialogBase {
public:
    EditDialog() : DialogBase("TESTDIALOG") {}
    int Initialise() override
    {
        edit = new EditBinding(this, IDC_TEST_EDIT);
        return 1;
    }
    EditBinding* edit = nullptr;
};

}  // namespace

TEST(EditBindingTest, SetTextKeepsTheWholeTextOrSaysItDidNot)
{
    EditDialog dialog;
    dialog.SetModal(0);
    ASSERT_NE(-1, dialog.Create(nullptr));
    EditBinding& edit = *dialog.edit;
    zstring text;
    // Past the 30,000 characters an edit control takes at first.
    const std::string long_text(40000, 'x');
    EXPECT_EQ(1, edit.SetText(long_text.c_str()));
    ASSERT_EQ(1, edit.GetString(text));
    EXPECT_EQ(long_text.size(), text.length());

    // A control that keeps less than the text, or none at all.
    EditBinding label(&dialog, IDC_TEST_LABEL);
    EXPECT_EQ(0, label.SetText("Longer than the label"));
    char shown[32];
    GetDlgItemTextA(dialog.Window(), IDC_TEST_LABEL, shown, sizeof shown);
    EXPECT_STREQ("Label", shown);
    dialog.End(0);
    EXPECT_EQ(0, edit.SetText("no window"));
}
