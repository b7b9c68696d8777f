#include "frame/dialog_base.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "base/zstring.h"
#include "frame/control_binding.h"
#include "tests/frame/gui_test_support.h"
#include "tests/frame/test_ids.h"

namespace {

// A dialog on the test template that records what the framework asked of it. Its script runs
// at the end of Initialise, where a test posts the input that drives a modal run.
class TestDialog : public DialogBase {
public:
    TestDialog() : DialogBase("TESTDIALOG") {}

    int Initialise() override
    {
        edit = new EditBinding(this, IDC_TEST_EDIT);
        new ControlBinding(this, IDOK);
        new ControlBinding(this, IDCANCEL);
        script(*this);
        return 1;
    }
    int TakeOver() override
    {
        ++take_overs;
        edit->GetString(taken_text);
        on_take_over(*this);
        return 1;
    }
    int MayClose() override { return 0; }
    int OnCommand(ControlBinding* binding, LPARAM) override
    {
        cancels += binding->Id() == IDCANCEL;
        return 1;
    }

    void Post(UINT message, WPARAM wparam) { PostMessageA(Window(), message, wparam, 0); }

    std::function<void(TestDialog&)> script = [](TestDialog&) {}, on_take_over = script;
    EditBinding* edit = nullptr;
    int take_overs = 0, cancels = 0;
    zstring taken_text;
};

// A binding that counts its notifications and its own destruction.
class CountingBinding : public ControlBinding {
public:
    CountingBinding(DialogBase* owner, int id, int& destroyed)
        : ControlBinding(owner, id), destroyed(destroyed) {}
    ~CountingBinding() override { ++destroyed; }
    int& destroyed;
};

}  // namespace

TEST(DialogTest, ModalDialogTakesOverOnceAndReturnsItsResult)
{
    // OK takes over the edit's text; Escape in it ends the dialog through the bound Cancel; a
    // refused close leaves it to the OK after it; an End from TakeOver ends nothing more; a
    // quit ends it with 0 and is posted again.
    const struct {
        const char* name;
        std::function<void(TestDialog&)> script;
        INT_PTR result;
        int take_overs, cancels;
        const char* taken = "";
    } cases[] = {
        {"OK", [](TestDialog& d) { d.edit->SetText("Seventeen"), d.Post(WM_COMMAND, IDOK); }, 1,
         1, 0, "Seventeen"},
        {"Escape",
         [](TestDialog& d) { PostMessageA(d.edit->Control(), WM_KEYDOWN, VK_ESCAPE, 1); }, 0, 1, 1},
        {"close, OK",
         [](TestDialog& d) { d.Post(WM_SYSCOMMAND, SC_CLOSE), d.Post(WM_COMMAND, IDOK); },
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
        EXPECT_EQ(c.cancels, dialog.cancels) << c.name;
        EXPECT_EQ(nullptr, dialog.Window()) << c.name;
        EXPECT_STREQ(c.taken, dialog.taken_text.c_str()) << c.name;
    }
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(4u, quit.wParam);
}

TEST(DialogTest, ModelessDialogOwnsItsBindingsWhichSetAndReadTheWholeText)
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
        EXPECT_EQ(first, dialog.BindingById(IDC_TEST_LABEL));  // the first of the id

        EditBinding& edit = *dialog.edit;
        int value = -1;
        zstring all;
        // Past an edit's first limit of 30,000 and GetValue's buffer: kept and taken whole.
        const std::string digits(40000, '9');
        EXPECT_EQ(1, edit.SetText(digits.c_str()));
        edit.GetValue(value);
        EXPECT_EQ(INT_MAX, value);
        EXPECT_EQ(1, edit.GetString(all));
        EXPECT_EQ(digits, all.c_str());

        dialog.End(1);
        EXPECT_FALSE(IsWindow(window));
        dialog.End(0);  // no window: nothing more is taken over, no text given or taken
        EXPECT_EQ(1, dialog.take_overs);
        EXPECT_EQ(0, edit.SetText("no window"));
    }
    EXPECT_EQ(2, destroyed);
    EXPECT_EQ(windows, ThreadWindowCount());
}
