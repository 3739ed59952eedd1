// The editing flow as a person meets it: typed text is set by every way of leaving the
// field, a refused text keeps the field and stops what would have left it, the keys
// while typing, double clicks on values, and undo that keeps the row that changed.

#include "platform/components/IWQellSpinner.h"
#include "tests/designer/DesignerTesting.h"

namespace {

using namespace DesignerTesting;

class Editing : public Designer {
protected:
    // A click on the component list's entry Path, as a script line.
    std::string ClickEntry(const char* Path) const
    {
        const TDocumentEntry* E = D->Document().FindEntry(Path);
        EXPECT_NE(E, nullptr) << Path;
        const TRect R = D->List().ItemRect(static_cast<int>(E - D->Document().Entries().data()));
        return "click Components " + std::to_string(R.Left + 4) + " " + std::to_string((R.Top + R.Bottom) / 2) + "\n";
    }
    // A double click on the value of the inspector's row Path.
    std::string DoubleClickValue(const char* Path) const
    {
        const TPropertyInspector& I = D->Inspector();
        const TRect V = I.ValueRect(I.FindRow(Path));
        EXPECT_FALSE(V.IsEmpty()) << Path;
        return "dblclick Inspector " + std::to_string(V.Left + 10) + " " + std::to_string((V.Top + V.Bottom) / 2) + "\n";
    }
    std::string SelectedPath() const
    {
        const TPropertyInspector& I = D->Inspector();
        return I.SelectedRow() < 0 ? std::string() : I.RowPath(I.SelectedRow());
    }
};

TEST_F(Editing, TypedTextIsSetByEveryWayOfLeavingTheField)
{
    const std::string File = TempFile("leaving_field.txt");
    ASSERT_TRUE(D->Document().SaveAs(File));
    // A click on the page preview (which takes no focus), then Ctrl+S.
    Run("pick ButtonOrder\ninspect Inspector Caption\ntype Inspector \"Typed\"\nclick Preview 20 20\nkey Ctrl+S\n");
    EXPECT_EQ(Find("ButtonOrder").Caption, "Typed");
    EXPECT_NE(Contents(File).find("Caption = 'Typed'"), std::string::npos);
    EXPECT_EQ(D->Document().Selection(), std::vector<TPersistent*>{&D->Document().Page()}) << "and the click still selects";

    // A click in the component list, Tab, Down and Up.
    Run("pick ButtonOrder\ninspect Inspector Left\ntype Inspector \"77\"\n" + ClickEntry("LabelTitle"));
    EXPECT_EQ(Find("ButtonOrder").Left, 77);
    EXPECT_EQ(D->Document().Selection(), std::vector<TPersistent*>{&Find<TQellLabel>("LabelTitle")});
    Run("pick ButtonOrder\ninspect Inspector Top\ntype Inspector \"60\"\nkey Tab\n");
    EXPECT_EQ(Find("ButtonOrder").Top, 60);
    Run("inspect Inspector Width\ntype Inspector \"130\"\nkey Down\n");
    EXPECT_EQ(Find("ButtonOrder").Width, 130);
    EXPECT_EQ(SelectedPath(), "Height") << "Down commits and moves on";
    Run("type Inspector \"34\"\nkey Up\n");
    EXPECT_EQ(Find("ButtonOrder").Height, 34);
    EXPECT_EQ(SelectedPath(), "Width");

    // Closing the window sets it too, then asks to save it.
    TRecordingBackEnd& Back = Run("inspect Inspector Caption\ntype Inspector \"Closing\"\nclose\nclick Save\n");
    EXPECT_EQ(Back.Messages.size(), 1u);
    EXPECT_EQ(D->ModalResult(), mrCancel);
    EXPECT_NE(Contents(File).find("Caption = 'Closing'"), std::string::npos);
}

TEST_F(Editing, ARefusedTextKeepsTheFieldAndStopsWhatWouldLeaveIt)
{
    // A click on the page: the message, then the field as it was typed, the selection kept.
    TRecordingBackEnd& Back = Run("pick ButtonOrder\ninspect Inspector Appearance.BackgroundColor\n"
                                  "type Inspector \"Bluish\"\nclick Preview 20 20\nclick OK\n" +
                                  ClickEntry("LabelTitle") + "click OK\nkey Tab\nclick OK\n");
    EXPECT_EQ(Back.Messages.size(), 3u);
    EXPECT_EQ(D->Document().Selection(), std::vector<TPersistent*>{&Find("ButtonOrder")});
    const TPropertyInspector& I = D->Inspector();
    ASSERT_TRUE(I.Editing());
    EXPECT_EQ(I.InplaceEdit()->Text(), "Bluish");
    EXPECT_TRUE(I.InplaceEdit()->Focused());
    EXPECT_EQ(Button().BackgroundColor, Web("SeaGreen"));

    // Closing is refused the same way; once mended, the window closes and asks to save.
    TRecordingBackEnd& Closing = Run("close\nclick OK\nkey Ctrl+Z\ntype Inspector \"Plum\"\nclose\nclick Discard\n");
    EXPECT_EQ(Closing.Messages.size(), 2u) << "the refusal, then Save / Discard / Cancel";
    EXPECT_EQ(D->ModalResult(), mrCancel);
    EXPECT_EQ(Button().BackgroundColor, Web("Plum"));
}

TEST_F(Editing, CtrlZUndoesTheTypingBeforeThePagesEdits)
{
    const std::string File = TempFile("typing_undo.txt");
    ASSERT_TRUE(D->Document().SaveAs(File));
    Run("pick ButtonOrder\ninspect Inspector Caption\ntype Inspector \"First\"\nkey Enter\n"
        "type Inspector \"Second\"\nkey Ctrl+Z\n");
    ASSERT_TRUE(D->Inspector().Editing());
    EXPECT_EQ(D->Inspector().InplaceEdit()->Text(), "First") << "the value again";
    EXPECT_EQ(Find("ButtonOrder").Caption, "First");
    Run("key Ctrl+S\n");
    EXPECT_NE(Contents(File).find("Caption = 'First'"), std::string::npos);
    // Nothing typed now: Ctrl+Z undoes the page's edit.
    Run("key Ctrl+Z\n");
    EXPECT_EQ(Find("ButtonOrder").Caption, "Order");
    EXPECT_TRUE(D->Document().IsModified());
}

TEST_F(Editing, AltDownOpensTheListOnTheTypedText)
{
    Run("pick ButtonOrder\ninspect Inspector Appearance.BackgroundColor\ntype Inspector \"Tom\"\nkey Alt+Down\n");
    const TPropertyInspector& I = D->Inspector();
    ASSERT_NE(I.DropDownList(), nullptr);
    EXPECT_EQ(I.DropDownList()->Items(I.DropDownList()->ItemIndex()), "Tomato");
    Run("key Escape\n");
    EXPECT_EQ(I.DropDownList(), nullptr);
    ASSERT_TRUE(I.Editing()) << "the typed text is still there";
    EXPECT_EQ(I.InplaceEdit()->Text(), "Tom");
    EXPECT_TRUE(I.InplaceEdit()->Focused());
    Run("key Alt+Down\nkey Enter\n");
    EXPECT_EQ(Button().BackgroundColor, Web("Tomato"));
    EXPECT_FALSE(I.Editing());
}

TEST_F(Editing, ADoubleClickOnAValueOpensTheDialogOrTakesTheNextValue)
{
    Run("pick ButtonOrder\ninspect Inspector Appearance.TextColor\n");
    Run(DoubleClickValue("Appearance.TextColor") + "page PageControl1 0\nselect WebColorsGrid 3 0\nclick Button1\n");
    EXPECT_EQ(Button().TextColor, IWColors[3].Value);
    Run("inspect Inspector Appearance.TextAlign\n");
    Run(DoubleClickValue("Appearance.TextAlign"));
    EXPECT_EQ(Button().TextAlign, qaRight) << "after qaCenter";
    Run("pick OnOffToasted\ninspect Inspector Checked\n");
    Run(DoubleClickValue("Checked"));
    EXPECT_FALSE(Find<TQellOnOffButton>("OnOffToasted").Checked);
    EXPECT_FALSE(D->Inspector().Editing());
    Run("key Ctrl+Z\nkey Ctrl+Z\nkey Ctrl+Z\n");
    EXPECT_FALSE(D->Document().IsModified()) << "three edits, three undo steps";
}

TEST_F(Editing, UndoAndRedoKeepTheRowThatChangedInView)
{
    Run("pick SpinnerFilling\ninspect Inspector Slots[3].TextColor\ntype Inspector \"Navy\"\nkey Enter\n"
        "inspect Inspector Left\n");
    const TPropertyInspector& I = D->Inspector();
    ASSERT_EQ(SelectedPath(), "Left");
    Run("key Ctrl+Z\n");
    EXPECT_EQ(SelectedPath(), "Slots[3].TextColor");
    EXPECT_FALSE(I.RowRect(I.SelectedRow()).IsEmpty()) << "in view";
    Run("inspect Inspector Left\nkey Ctrl+Y\n");
    EXPECT_EQ(SelectedPath(), "Slots[3].TextColor");
    EXPECT_EQ(Find<TQellSpinner>("SpinnerFilling").Slots.Items(3)->TextColor, Web("Navy"));

    // Another component in the inspector: its row and scroll position stay.
    Run("pick ButtonOrder\ninspect Inspector Appearance.TextAlign\n");
    const int Top = I.TopRow();
    Run("key Ctrl+Z\n");
    EXPECT_EQ(SelectedPath(), "Appearance.TextAlign");
    EXPECT_EQ(I.TopRow(), Top);
    EXPECT_EQ(Find<TQellSpinner>("SpinnerFilling").Slots.Items(3)->TextColor, 0x00333333);
}

} // namespace
