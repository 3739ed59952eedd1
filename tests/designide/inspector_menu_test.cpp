// The inspector's right-click menu driven as a user drives it: reset to default as one
// undo step, copy and paste of values, copy of a path, and the items it disables.

#include <gtest/gtest.h>

#include "tests/designide/InspectorTesting.h"

using namespace inspecttest;

namespace {

std::string Clipboard()
{
    return Application->BackEnd().ClipboardText();
}

// The designer's undo history is fed by PropertyChanged: a reset must report its change
// as a typed value does, once, with what the object held before and holds after.
TEST(InspectorMenu, ResetToDefaultIsOneChangeWithBeforeAndAfter)
{
    TInspectorForm F;
    F.Run("inspect Inspector Tint\ntype Inspector \"clRed\"\nkey Enter\n");
    ASSERT_EQ(F.Gadget.Tint, clRed);
    F.Designer.Changes.clear();
    F.Designer.Modifications = 0;

    F.Run(F.RightClick("Tint") + "menu \"Reset to default\"\n");
    EXPECT_EQ(F.Gadget.Tint, clBtnFace);
    ASSERT_EQ(F.Designer.Changes.size(), 1u);
    const TPropertyChange& C = F.Designer.Changes[0];
    EXPECT_EQ(C.Instance, &F.Gadget);
    ASSERT_NE(C.PropInfo, nullptr);
    EXPECT_EQ(C.PropInfo->Name, "Tint");
    EXPECT_EQ(C.Before, TPropValue(int64_t{clRed}));
    EXPECT_EQ(C.After, TPropValue(int64_t{clBtnFace}));
    EXPECT_EQ(F.Designer.Modifications, 1);
    EXPECT_EQ(F.Inspector->RowPath(F.Inspector->SelectedRow()), "Tint");
    EXPECT_EQ(F.Inspector->RowMenu(), nullptr);
    EXPECT_TRUE(F.Inspector->Focused()) << "the focus comes back from the menu";

    // Now at its default, and a name has none: the item is disabled and the script's
    // click on it is refused.
    for (const char* Path : {"Tint", "Name"}) {
        const THeadlessBackEnd& Back = UseScript(F.RightClick(Path) + "menu \"Reset to default\"\n");
        F.Form.ShowModal();
        EXPECT_TRUE(Back.Failed()) << Path;
        EXPECT_NE(Back.ScriptError().find("disabled"), std::string::npos) << Back.ScriptError();
        ASSERT_NE(F.Inspector->RowMenu(), nullptr) << "the failed script ended the run with the menu open";
        F.Inspector->RowMenu()->CloseUp();
    }
    EXPECT_EQ(F.Designer.Modifications, 1);
    EXPECT_EQ(F.Gadget.Name(), "Gadget1");
}

// One string value of a collection item goes to a colour of a sub-object and back, by
// the clipboard: pasted as typed, so a colour's name is taken and a refusal is shown.
TEST(InspectorMenu, CopiedValuesPasteAsTypedTextAndPathsCopy)
{
    TInspectorForm F;
    F.Gadget.Tint = clRed;
    F.Inspector->Expand(F.Row("Font"));
    F.Inspector->Expand(F.Row("Slots"));
    F.Inspector->Expand(F.Row("Slots[1]"));
    F.Run(F.RightClick("Tint") + "menu \"Copy value\"\n" + F.RightClick("Font.Color") + "menu \"Paste value\"\n");
    EXPECT_EQ(F.Gadget.Font.Color(), clRed);
    EXPECT_EQ(Clipboard(), "clRed");
    EXPECT_EQ(F.Designer.Modifications, 1);
    ASSERT_EQ(F.Designer.Changes.size(), 1u);
    EXPECT_EQ(F.Designer.Changes[0].After, TPropValue(int64_t{clRed}));

    // The path, as the command line takes it.
    F.Run(F.RightClick("Slots[1].Value") + "menu \"Copy path\"\n");
    EXPECT_EQ(Clipboard(), "Slots[1].Value");

    // A colour's name is no number: the message box says so (its OK closes it), nothing
    // changes. Pasting a value a row already shows is no edit either.
    F.Run(F.RightClick("Tint") + "menu \"Copy value\"\n" + F.RightClick("Slots[1].Value") +
          "menu \"Paste value\"\nclick OK\n" + F.RightClick("Tint") + "menu \"Paste value\"\n");
    EXPECT_EQ(F.Gadget.Slots.Items(1)->Value, 2);
    EXPECT_EQ(F.Designer.Modifications, 1);

    // A sub-object takes no text; an empty clipboard offers nothing.
    F.Inspector->SetFocus();
    F.Inspector->OpenRowMenu(F.Row("Font"), 10, 10);
    TPopupMenu* Menu = F.Inspector->RowMenu();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(F.Inspector->RowPath(F.Inspector->SelectedRow()), "Font");
    EXPECT_FALSE(Menu->CanChoose(Menu->IndexOfCaption("Paste value")));
    EXPECT_TRUE(Menu->CanChoose(Menu->IndexOfCaption("Copy path")));
    Menu->CloseUp();
    Application->BackEnd().SetClipboardText("");
    F.Inspector->OpenRowMenu(F.Row("Caption"), 10, 10);
    Menu = F.Inspector->RowMenu();
    ASSERT_NE(Menu, nullptr);
    EXPECT_FALSE(Menu->CanChoose(Menu->IndexOfCaption("Paste value")));
    EXPECT_FALSE(Menu->CanChoose(Menu->IndexOfCaption("Copy value"))) << "an empty caption";
    Menu->CloseUp();
}

// Ctrl+C and Ctrl+V on a selected row copy and paste its value, as the menu's items do;
// while a value is being typed they are the box's, and neither copies the row's value
// nor sets the value from the clipboard.
TEST(InspectorMenu, CtrlCAndCtrlVOnARowCopyAndPasteItsValue)
{
    TInspectorForm F;
    F.Gadget.Tint = clRed;
    F.Inspector->Expand(F.Row("Font"));
    F.Inspector->SetFocus();
    // The clipboard lives as long as a run's back end: each run copies afresh.
    F.Run("inspect Inspector Tint\nkey Ctrl+C\ninspect Inspector Font.Color\nkey Ctrl+V\n"
          "inspect Inspector Caption\nkey Ctrl+C\ninspect Inspector Shape\ntype Inspector \"Typed\"\nkey Ctrl+C\n"
          "key Ctrl+V\n");
    EXPECT_EQ(F.Gadget.Font.Color(), clRed);
    EXPECT_EQ(F.Designer.Modifications, 1);
    EXPECT_EQ(Clipboard(), "clRed") << "neither an empty value nor typing copies";
    EXPECT_EQ(F.Gadget.Shape, shCircle);
    ASSERT_TRUE(F.Inspector->Editing());
    EXPECT_TRUE(F.Inspector->InplaceEdit()->Text().starts_with("Typed"));
    F.Run("key Escape\ninspect Inspector Tint\nkey Ctrl+C\ninspect Inspector Count\nkey Ctrl+V\nclick OK\n");
    EXPECT_EQ(F.Gadget.Count, 0) << "a colour's name is no number: refused in a message box";
    EXPECT_EQ(F.Designer.Modifications, 1);
}

// Copy path puts the owner's path of the selection first, when it has one, so that
// the path names the property on the page as the command line takes it.
TEST(InspectorMenu, CopyPathStartsWithTheOwnersPathOfTheSelection)
{
    TInspectorForm F;
    std::vector<std::string> Told;
    F.Inspector->OnAction = [&](const std::string& Action) { Told.push_back(Action); };
    F.Inspector->Expand(F.Row("Font"));
    F.Inspector->PathPrefix = [] { return std::string("Gadget1"); };
    F.Run(F.RightClick("Font.Color") + "menu \"Copy path\"\n");
    EXPECT_EQ(Clipboard(), "Gadget1.Font.Color");
    F.Inspector->PathPrefix = [] { return std::string(); };
    F.Run(F.RightClick("Font.Height") + "menu \"Copy path\"\n");
    EXPECT_EQ(Clipboard(), "Font.Height") << "no prefix: the row's path alone";
    EXPECT_EQ(Told, (std::vector<std::string>{"Copied the path Gadget1.Font.Color", "Copied the path Font.Height"}));
}

// Without a mouse: Shift+F10 or the context-menu key opens the selected row's menu below
// its name, Down makes the first item that can be chosen hot and Enter chooses it; F10
// alone opens nothing.
TEST(InspectorMenu, TheKeyboardOpensTheSelectedRowsMenu)
{
    TInspectorForm F;
    F.Gadget.Tint = clRed;
    F.Inspector->SetFocus();
    F.Run("inspect Inspector Tint\nkey F10\n");
    EXPECT_EQ(F.Inspector->RowMenu(), nullptr);
    F.Run("key Shift+F10\nkey Down\nkey Enter\n");
    EXPECT_EQ(F.Gadget.Tint, clBtnFace) << "Reset to default, the first item";
    EXPECT_EQ(F.Designer.Changes.size(), 1u);

    F.Run("inspect Inspector Caption\nkey ContextMenu\n");
    TPopupMenu* Menu = F.Inspector->RowMenu();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(F.Inspector->RowPath(F.Inspector->SelectedRow()), "Caption");
    const TRect Name = F.Inspector->NameRect(F.Inspector->SelectedRow());
    const TPoint Origin = F.Inspector->SurfaceOrigin();
    EXPECT_EQ(Menu->MenuRect().Top, Origin.Y + Name.Bottom) << "just below the row";
    F.Run("key Escape\n");
    EXPECT_EQ(F.Inspector->RowMenu(), nullptr);
    EXPECT_TRUE(F.Inspector->Focused());
}

} // namespace
