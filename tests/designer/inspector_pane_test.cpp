// The designer's inspector pane as a person uses it: Ctrl+F into the filter box, a
// filtered row edited and saved; a right-click reset that one Ctrl+Z takes back; the
// rows sorted by name from the same menu; and the status line saying what was done.

#include <algorithm>
#include <cstdio>

#include "tests/designer/DesignerTesting.h"

namespace {

using namespace DesignerTesting;

class InspectorPane : public Designer {
protected:
    // A right click on the name of the row at Path.
    std::string RightClick(const std::string& Path) const
    {
        const TPropertyInspector& I = D->Inspector();
        const TRect R = I.NameRect(I.FindRow(Path));
        EXPECT_FALSE(R.IsEmpty()) << Path << " is not in view";
        return "rclick Inspector " + std::to_string(R.Left + 5) + " " + std::to_string(R.Top + 5) + "\n";
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> Found;
        for (int Row = 0; Row < D->Inspector().RowCount(); ++Row) Found.push_back(D->Inspector().RowName(Row));
        return Found;
    }
};

TEST_F(InspectorPane, CtrlFFiltersTheRowsAndAFilteredRowIsEditedAndSaved)
{
    const TPropertyInspector& I = D->Inspector();
    Run("pick ButtonOrder\nkey Ctrl+F\ntext \"shadow\"\n");
    EXPECT_TRUE(D->InspectorPane().Filter().Focused());
    EXPECT_EQ(I.Filter(), "shadow");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Appearance", "ShadowColor", "ShadowDepth"}));

    // Down into the rows, on the first that matches; typed, Enter: set, still filtered.
    Run("key Down\ntext \"Navy\"\nkey Enter\n");
    EXPECT_EQ(Button().ShadowColor, Web("Navy"));
    EXPECT_EQ(I.RowPath(I.SelectedRow()), "Appearance.ShadowColor");
    EXPECT_EQ(Names().size(), 3u) << "the filter holds after the edit";
    EXPECT_EQ(D->Status().Action(), "Changed Appearance.ShadowColor");

    // Escape in the box empties it: every row again, the edited one still selected.
    Run("key Ctrl+F\nkey Escape\n");
    EXPECT_EQ(I.Filter(), "");
    EXPECT_GT(I.RowCount(), 10);

    EXPECT_EQ(I.RowPath(I.SelectedRow()), "Appearance.ShadowColor");
    // Typing on and on stops at the box's limit; the filter is what the box shows.
    Run("key Ctrl+F\ntext \"" + std::string(3 * TFilterEdit::MaxFilter, 'x') + "\"\n");
    EXPECT_EQ(I.Filter(), std::string(TFilterEdit::MaxFilter, 'x'));
    EXPECT_EQ(I.RowCount(), 0);
    Run("key Escape\n");

    // A script names the box, as `type` names any field: every row then names a colour
    // or leads to one.
    Run("pick LabelTitle\ntype Filter \"color\"\n");
    EXPECT_EQ(I.Filter(), "color");
    ASSERT_GT(I.RowCount(), 0);
    for (const std::string& Name : Names())
        EXPECT_NE(LowerCase(Name).find("color"), std::string::npos) << Name;
    Run("key Escape\npick ButtonOrder\n");

    const std::string File = TempFile("pane.txt");
    std::remove(File.c_str());
    Run("key Ctrl+S\ntype FileName \"" + File + "\"\nclick OK\n");
    EXPECT_NE(Contents(File).find("Appearance.ShadowColor = Navy"), std::string::npos) << Contents(File);
    EXPECT_EQ(D->Status().Action(), "Saved designer_pane.txt");
}

TEST_F(InspectorPane, AResetFromTheMenuIsOneUndoStepAndTheRowsSortByName)
{
    TPropertyInspector& I = D->Inspector();
    Run("pick ButtonOrder\ninspect Inspector Appearance.TextColor\n");
    const TColor Saved = Button().TextColor;
    ASSERT_NE(Saved, clBtnText) << "the sample's caption is white";
    Run(RightClick("Appearance.TextColor") + "menu \"Reset to default\"\n");
    EXPECT_EQ(Button().TextColor, clBtnText);
    EXPECT_EQ(D->Status().Action(), "Reset Appearance.TextColor");
    EXPECT_TRUE(D->Document().IsModified());
    Run("key Ctrl+Z\n");
    EXPECT_EQ(Button().TextColor, Saved) << "one step takes the reset back";
    EXPECT_FALSE(D->Document().IsModified());

    Run(RightClick("Caption") + "menu \"Sort alphabetically\"\n");
    EXPECT_EQ(I.SortOrder(), TSortOrder::Alphabetical);
    std::vector<std::string> Top;
    for (int Row = 0; Row < I.RowCount(); ++Row)
        if (I.RowLevel(Row) == 0) Top.push_back(I.RowName(Row));
    EXPECT_TRUE(std::is_sorted(Top.begin(), Top.end(),
                               [](const std::string& A, const std::string& B) { return CompareText(A, B) < 0; }))
        << Top.front() << " ... " << Top.back();
    EXPECT_EQ(I.RowPath(I.SelectedRow()), "Caption");
    // The order holds for the next selection.
    Run("pick LabelTitle\n");
    EXPECT_EQ(I.RowName(0), "Caption");
}

// Choosing another component keeps the row of the same path, so that values compare;
// Copy path names the component as `set` needs it, a slot by its spinner.
TEST_F(InspectorPane, TheRowStaysAcrossComponentsAndCopyPathNamesTheComponent)
{
    const TPropertyInspector& I = D->Inspector();
    const auto Selected = [&] { return I.RowPath(I.SelectedRow()); };
    Run("pick OnOffToasted\ninspect Inspector Appearance.ThumbColor\npick TrackbarSize\n");
    EXPECT_EQ(Selected(), "Appearance.ThumbColor");
    EXPECT_EQ(I.RowValue(I.SelectedRow()), "clWindow") << "the trackbar's own";
    const std::vector<std::string>& Lines = D->InspectorPane().Description().Lines();
    ASSERT_FALSE(Lines.empty());
    EXPECT_TRUE(Lines[0].starts_with("Appearance.ThumbColor")) << Lines[0];

    const auto CopiedPath = [&](const char* Row) {
        Run(RightClick(Row) + "menu \"Copy path\"\n");
        return Application->BackEnd().ClipboardText();
    };
    const std::string Path = CopiedPath("Appearance.ThumbColor");
    EXPECT_EQ(Path, "TrackbarSize.Appearance.ThumbColor");
    EXPECT_EQ(D->Status().Action(), "Copied the path TrackbarSize.Appearance.ThumbColor");
    const TPagePath Found = SplitPagePath(D->Document().Page(), Path);
    EXPECT_EQ(Found.Component, &Find<TQellTrackbar>("TrackbarSize"));
    EXPECT_EQ(Found.Property, "Appearance.ThumbColor");

    const TDocumentEntry* Slot = D->Document().FindEntry("SpinnerFilling.Slots[0]");
    ASSERT_NE(Slot, nullptr);
    D->Document().Select({Slot->Object});
    EXPECT_EQ(I.SelectedRow(), 0) << "a slot has no Appearance: the first row";
    Run("inspect Inspector TextColor\n");
    EXPECT_EQ(CopiedPath("TextColor"), "SpinnerFilling.Slots[0].TextColor");
    Run("pick LabelTitle\n");
    EXPECT_EQ(Selected(), "TextColor");
}

} // namespace
