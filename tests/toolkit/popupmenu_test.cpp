// The popup menu driven as a user drives it: opened by a right click, kept inside the
// form, keys, clicks on items and outside, and how it is drawn.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/toolkit/Button.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/PaintBox.h"
#include "platform/toolkit/PopupMenu.h"
#include "tests/support/FormTesting.h"

namespace {

// A paint box that opens the menu where it is right-clicked, an edit that has the focus
// before, and a button under where the menu opens.
struct TMenuForm {
    TForm Form{nullptr};
    TPaintBox* Box;
    TEdit* Edit;
    TButton* Button;
    TPopupMenu* Menu;
    std::vector<std::string> Log;

    TMenuForm()
    {
        Form.SetBounds(0, 0, 240, 160);
        Box = Place<TPaintBox>(Form, Form, 0, 0, 240, 100);
        Box->SetName("Box");
        Edit = Place<TEdit>(Form, Form, 0, 130, 100, 21);
        Edit->SetName("Edit");
        Button = Place<TButton>(Form, Form, 120, 110, 110, 40);
        Button->SetName("Button");
        Button->OnClick = [this](TObject*) { Log.push_back("button"); };
        Menu = new TPopupMenu(&Form);
        Menu->SetName("Menu");
        Menu->Items = {{"One", true, false, false, [this] { Log.push_back("one"); }},
                       {"", false, false, true, nullptr},
                       {"Two", false, false, false, [this] { Log.push_back("two"); }},
                       {"Three", true, true, false, [this] { Log.push_back("three"); }}};
        Menu->OnClose = [this](bool HadFocus) { Log.push_back(HadFocus ? "closed" : "closed, focus elsewhere"); };
        Box->OnMouseDown = [this](TObject*, TMouseButton B, TShiftState, int X, int Y) {
            if (B == mbRight) Menu->Popup(Form, X, Y);
        };
        Edit->SetFocus();
    }
    ~TMenuForm() { ResetBackEnd(); }
    void Run(const std::string& Script)
    {
        const THeadlessBackEnd& Back = UseScript(Script);
        Form.ShowModal();
        EXPECT_FALSE(Back.Failed()) << Back.ScriptError();
    }
};

TEST(PopupMenu, KeysSkipWhatCannotBeChosenAndEnterChoosesAfterClosing)
{
    TMenuForm F;
    F.Run("rclick Box 20 10\nkey Down\nkey Down\n");
    ASSERT_TRUE(F.Menu->IsOpen());
    EXPECT_TRUE(F.Menu->Focused());
    EXPECT_EQ(F.Menu->HotItem(), 3) << "past the separator and the disabled item";
    F.Run("key Down\nkey Up\nkey Up\nkey Enter\n");
    EXPECT_FALSE(F.Menu->IsOpen());
    EXPECT_EQ(F.Log, (std::vector<std::string>{"closed", "one"})) << "Down wraps to One; Up twice back to One";

    F.Log.clear();
    F.Run("rclick Box 20 10\nkey End\nkey Escape\nkey Enter\n");
    EXPECT_EQ(F.Log, (std::vector<std::string>{"closed"})) << "Escape chooses nothing, and Enter is then not its";
    F.Log.clear();
    F.Run("rclick Box 20 10\nkey Tab\n");
    EXPECT_FALSE(F.Menu->IsOpen());
    EXPECT_EQ(F.Log, (std::vector<std::string>{"closed, focus elsewhere"}));
}

TEST(PopupMenu, ClicksChooseItemsAndAClickOutsideOnlyClosesIt)
{
    TMenuForm F;
    // Opened near the corner, the box is moved inside the form.
    F.Run("rclick Box 235 95\n");
    ASSERT_TRUE(F.Menu->IsOpen());
    const TRect Box = F.Menu->MenuRect();
    EXPECT_EQ(Box.Right, 240);
    EXPECT_LE(Box.Bottom, 160);
    EXPECT_LT(Box.Left, 235);
    const TRect Two = F.Menu->ItemRect(2), Three = F.Menu->ItemRect(3);
    const auto Centre = [](const TRect& R) {
        return std::to_string((R.Left + R.Right) / 2) + " " + std::to_string((R.Top + R.Bottom) / 2);
    };
    // The disabled item and the separator take clicks and do nothing.
    F.Run("click Menu " + Centre(Two) + "\nclick Menu " + Centre(F.Menu->ItemRect(1)) + "\n");
    EXPECT_TRUE(F.Menu->IsOpen());
    EXPECT_TRUE(F.Log.empty());
    F.Run("click Menu " + Centre(Three) + "\n");
    EXPECT_EQ(F.Log, (std::vector<std::string>{"closed", "three"}));

    // A click on the button outside the box closes the menu and goes no further.
    F.Log.clear();
    F.Run("rclick Box 20 10\nclick Button\n");
    EXPECT_FALSE(F.Menu->IsOpen());
    EXPECT_EQ(F.Log, (std::vector<std::string>{"closed"}));
    F.Run("click Button\n");
    EXPECT_EQ(F.Log.back(), "button") << "the next click is the button's";

    // By caption, without case; a disabled item or none is an error of the script.
    F.Log.clear();
    F.Run("rclick Box 20 10\nmenu \"ONE\"\n");
    EXPECT_EQ(F.Log, (std::vector<std::string>{"closed", "one"}));
    for (const char* Line : {"menu \"Two\"", "menu \"Four\""}) {
        const THeadlessBackEnd& Back = UseScript(std::string("rclick Box 20 10\n") + Line + "\nkey Escape\n");
        F.Form.ShowModal();
        EXPECT_TRUE(Back.Failed()) << Line;
        F.Menu->CloseUp(); // the failed script ended the run with the menu open
    }
    const THeadlessBackEnd& Back = UseScript("menu \"One\"\n");
    F.Form.ShowModal();
    EXPECT_NE(Back.ScriptError().find("no menu is open"), std::string::npos) << Back.ScriptError();
}

// Drawn as the lists are: the window colour, the hot item highlighted, a tick for the
// checked item, grey ink for the disabled one; closed, what it covered shows again.
TEST(PopupMenu, IsDrawnLikeAListAndLeavesNothingBehind)
{
    TMenuForm F;
    F.Run("rclick Box 20 10\nkey Down\n");
    F.Form.PaintAll();
    const TBitmap& S = F.Form.Surface();
    const TRect One = F.Menu->ItemRect(0), Two = F.Menu->ItemRect(2), Three = F.Menu->ItemRect(3);
    EXPECT_EQ(S.Pixel(One.Right - 2, One.Top + 1), ColorToRGB(clHighlight)) << "the hot item";
    EXPECT_EQ(S.Pixel(Three.Right - 2, Three.Top + 1), ColorToRGB(clWindow));
    int Tick = 0, Grey = 0, Text = 0;
    for (int Y = Three.Top; Y < Three.Bottom; ++Y)
        for (int X = Three.Left; X < Three.Left + TPopupMenu::CheckWidth - TPopupMenu::Border; ++X)
            Tick += S.Pixel(X, Y) == ColorToRGB(clWindowText);
    for (int Y = Two.Top; Y < Two.Bottom; ++Y)
        for (int X = Two.Left; X < Two.Right; ++X) {
            Grey += S.Pixel(X, Y) == ColorToRGB(clGrayText);
            Text += S.Pixel(X, Y) == ColorToRGB(clWindowText);
        }
    EXPECT_GT(Tick, 8);
    EXPECT_GT(Grey, 3);
    EXPECT_EQ(Text, 0);
    const TRect Box = F.Menu->MenuRect();
    F.Run("key Escape\n");
    for (int Y = Box.Top; Y < std::min(Box.Bottom, F.Box->Height()); ++Y)
        for (int X = Box.Left; X < Box.Right; ++X)
            ASSERT_EQ(S.Pixel(X, Y), ColorToRGB(F.Box->EffectiveColor())) << X << "," << Y;
}

} // namespace
