#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/zstring.h"
#include "frame/control_binding.h"
#include "frame/dialog_base.h"
#include "tests/frame/frame_test_ids.h"
#include "tests/frame/gui_test_support.h"

namespace {

// A dialog on the test template that records what the framework asked of
// it. Its script runs at the end of Initialise, where a test posts the
// input that drives a modal run; the hooks run inside OnCommand and
// TakeOver.
class TestDialog : public DialogBase {
public:
    TestDialog() : DialogBase("TESTDIALOG") {}

    int Initialise() override
    {
        check = new CheckBinding(this, IDC_TEST_CHECK);
        edit = new EditBinding(this, IDC_TEST_EDIT);
        new ControlBinding(this, IDOK);
        new ControlBinding(this, IDCANCEL);
        if (script)
            script(*this);
        return 1;
    }
    int TakeOver() override
    {
        ++take_overs;
        edit->GetString(taken_text);
        if (on_take_over)
            on_take_over(*this);
        return 1;
    }
    int MayClose() override { return 0; }
    int OnCommand(ControlBinding* binding, LPARAM) override
    {
        commands.push_back(binding->Id());
        if (on_command)
            on_command(*this, binding->Id());
        return 1;
    }

    void Post(UINT message, WPARAM wparam) { PostMessageA(Window(), message, wparam, 0); }

    std::function<void(TestDialog&)> script, on_take_over;
    std::function<void(TestDialog&, int)> on_command;
    CheckBinding* check = nullptr;
    EditBinding* edit = nullptr;
    int take_overs = 0;
    std::vector<int> commands;
    zstring taken_text;
};

// A binding that counts its notifications and its own destruction.
class CountingBinding : public ControlBinding {
public:
    CountingBinding(DialogBase* owner, int id, int& destroyed)
        : ControlBinding(owner, id), m_destroyed(destroyed) {}
    ~CountingBinding() override { ++m_destroyed; }
    LRESULT OnClick() override { return ++clicks; }
    int clicks = 0;

private:
    int& m_destroyed;
};

}  // namespace

TEST(DialogTest, ModalDialogTakesOverOnceAndReturnsItsResult)
{
    TestDialog ok;
    ok.script = [](TestDialog& d) {
        d.edit->SetText("Seventeen");
        d.Post(WM_COMMAND, IDOK);
    };
    EXPECT_EQ(1, ok.Run());
    EXPECT_EQ(1, ok.take_overs);
    EXPECT_STREQ("Seventeen", ok.taken_text.c_str());
    EXPECT_EQ(nullptr, ok.Window());

    // Escape in the edit ends the dialog through the bound Cancel; a refused close leaves the
    // dialog to the OK after it; help that declines ends it; an End from OnCommand or from
    // TakeOver itself ends nothing more; a quit message ends the dialog without OK and is
    // posted again for the loop outside.
    const struct {
        const char* name;
        std::function<void(TestDialog&)> script;
        INT_PTR result;
        int take_overs, cancels;
    } cases[] = {
        {"Escape",
         [](TestDialog& d) {
             HWND edit = GetDlgItem(d.Window(), IDC_TEST_EDIT);
             SetFocus(edit);
             PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 1);
         },
         0, 1, 1},
        {"close, OK",
         [](TestDialog& d) { d.Post(WM_SYSCOMMAND, SC_CLOSE), d.Post(WM_COMMAND, IDOK); },
         1, 1, 0},
        {"help, OK", [](TestDialog& d) { d.Post(WM_COMMAND, IDHELP), d.Post(WM_COMMAND, IDOK); },
         0, 1, 0},
        {"End(1) on OK",
         [](TestDialog& d) {
             d.on_command = [](TestDialog& d, int id) { if (id == IDOK) d.End(1); };
             d.Post(WM_COMMAND, IDOK);
         },
         1, 1, 0},
        {"End(0) in TakeOver",
         [](TestDialog& d) {
             d.on_take_over = [](TestDialog& d) { if (d.take_overs < 3) d.End(0); };
             d.Post(WM_COMMAND, IDOK);
         },
         1, 1, 0},
        {"quit", [](TestDialog&) { PostQuitMessage(4); }, 0, 0, 0},
    };
    for (const auto& c : cases) {
        TestDialog dialog;
        dialog.script = c.script;
        EXPECT_EQ(c.result, dialog.Run()) << c.name;
        EXPECT_EQ(c.take_overs, dialog.take_overs) << c.name;
        EXPECT_EQ(c.cancels, std::count(dialog.commands.begin(), dialog.commands.end(), IDCANCEL))
            << c.name;
        EXPECT_EQ(c.result, static_cast<INT_PTR>(dialog.Result())) << c.name;
    }
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(4u, quit.wParam);
}

TEST(DialogTest, ModelessDialogEndsByDestructionAndOwnsItsBindings)
{
    const int windows = ThreadWindowCount();
    int destroyed = 0;
    {
        TestDialog dialog;
        dialog.SetModal(0);
        const INT_PTR made = dialog.Create(nullptr);
        ASSERT_NE(-1, made);
        HWND window = reinterpret_cast<HWND>(made);
        auto* first = new CountingBinding(&dialog, IDC_TEST_LABEL, destroyed);
        new CountingBinding(&dialog, IDC_TEST_LABEL, destroyed);
        EXPECT_EQ(first, dialog.BindingById(IDC_TEST_LABEL));
        EXPECT_EQ(nullptr, dialog.BindingById(999));

        // Notifications reach the first binding of the id.
        NMHDR header = {GetDlgItem(window, IDC_TEST_LABEL), IDC_TEST_LABEL, static_cast<UINT>(-2)};
        SendMessageA(window, WM_NOTIFY, IDC_TEST_LABEL, reinterpret_cast<LPARAM>(&header));
        EXPECT_EQ(1, first->clicks);

        dialog.End(1);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(1u, dialog.Result());
        dialog.End(0);  // no window: nothing more is taken over
        EXPECT_EQ(1, dialog.take_overs);
    }
    EXPECT_EQ(2, destroyed);
    EXPECT_EQ(windows, ThreadWindowCount());
}

TEST(DialogTest, BindingsRefuseEmptyTextAndReadOverlongNumbers)
{
    TestDialog dialog;
    dialog.SetModal(0);
    ASSERT_NE(-1, dialog.Create(nullptr));
    CheckBinding& check = *dialog.check;
    EditBinding& edit = *dialog.edit;
    char text[8];
    int value = -1;

    EXPECT_EQ(0, check.SetText(""));
    EXPECT_EQ(1, check.SetText("1x"));
    check.GetText(text, sizeof text);
    EXPECT_STREQ("1", text);

    edit.SetText("  -42 apples");
    EXPECT_EQ(1, edit.GetValue(value));
    EXPECT_EQ(-42, value);
    edit.SetNumber(2026);
    EXPECT_EQ(1, edit.GetText(text, 3));
    EXPECT_STREQ("20", text);
    // Longer than GetValue's buffer: read as far as it goes; GetString takes all.
    const std::string digits(300, '9');
    edit.SetText(digits.c_str());
    edit.GetValue(value);
    EXPECT_EQ(INT_MAX, value);
    zstring all;
    EXPECT_EQ(1, edit.GetString(all));
    EXPECT_EQ(digits, all.c_str());
    dialog.End(0);

    // Without a window the edit has no text to give.
    EXPECT_EQ(0, edit.GetText(text, sizeof text));
    EXPECT_EQ(0, edit.GetString(all));
}
