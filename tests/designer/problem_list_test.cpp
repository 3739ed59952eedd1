// The list of contrast problems as a person uses it: opened from the View menu, it lists
// every failing pair and follows an edit and its undo; a click shows the pair's component
// and row, a double click applies the smaller fix as one undo step.

#include "colour/Contrast.h"
#include "tests/designer/DesignerTesting.h"

namespace {

using namespace DesignerTesting;

class ProblemList : public Designer {
protected:
    TProblemList& List() const { return D->Problems(); }
    // The item of ButtonOrder's caption on its background, or -1.
    int ButtonItem() const
    {
        for (int I = 0; I < List().Count(); ++I)
            if (List().Items(I).starts_with("ButtonOrder\tAppearance.TextColor on Appearance.BackgroundColor\t"))
                return I;
        return -1;
    }
    std::string At(const char* Verb, int Item) const
    {
        const TRect R = List().ItemRect(Item);
        EXPECT_FALSE(R.IsEmpty()) << "item " << Item << " is not in view";
        return std::string(Verb) + " Problems " + std::to_string(R.Left + 20) + " " + std::to_string(R.Top + 4) +
               "\n";
    }
};

TEST_F(ProblemList, ListsEveryFailingPairAndFollowsAnEditAndItsUndo)
{
    EXPECT_FALSE(List().Visible());
    Run("click View\nmenu \"Contrast problems list\"\n");
    ASSERT_TRUE(D->ProblemsShowing());
    EXPECT_TRUE(List().Visible());
    EXPECT_LE(D->Preview().Top() + D->Preview().Height(), List().Top()) << "below the preview";
    ASSERT_GE(ButtonItem(), 0);
    EXPECT_EQ(List().Items(ButtonItem()),
              "ButtonOrder\tAppearance.TextColor on Appearance.BackgroundColor\t4.24:1\t4.50:1");
    // Every pair listed fails by the colours as drawn, and every pair of the page that
    // fails is listed.
    ASSERT_EQ(List().Count(), static_cast<int>(List().Problems().size()));
    for (const TContrastFinding& F : List().Problems())
        EXPECT_LT(ContrastRatio(ColorToRGB(F.Foreground.Value), ColorToRGB(F.Background.Value)),
                  F.Required(TContrastLevel::AA))
            << F.ForegroundPath;
    int Failing = 0;
    for (const TContrastFinding& F : PageContrast(D->Document().Page())) Failing += !F.Passes(TContrastLevel::AA);
    EXPECT_EQ(List().Count(), Failing);

    const int Before = List().Count();
    Run("pick ButtonOrder\n");
    Run(ClickRow("Appearance.BackgroundColor") + "text \"DarkGreen\"\nkey Enter\n");
    EXPECT_EQ(Button().BackgroundColor, Web("DarkGreen"));
    EXPECT_EQ(ButtonItem(), -1) << "white on dark green passes";
    EXPECT_EQ(List().Count(), Before - 1);
    Run("key Ctrl+Z\n");
    EXPECT_GE(ButtonItem(), 0);
    EXPECT_EQ(List().Count(), Before);

    Run("click View\nmenu \"Contrast problems list\"\n");
    EXPECT_FALSE(List().Visible());
    EXPECT_TRUE(List().Problems().empty());
}

TEST_F(ProblemList, AClickShowsThePairAndADoubleClickFixesIt)
{
    Run("click View\nmenu \"Contrast problems list\"\npick LabelTitle\n");
    const int Item = ButtonItem();
    ASSERT_GE(Item, 0);
    Run(At("click", Item));
    const TPropertyInspector& I = D->Inspector();
    ASSERT_EQ(D->Document().Selection().size(), 1u);
    EXPECT_EQ(D->Document().Selection()[0], &Find("ButtonOrder"));
    EXPECT_EQ(I.RowPath(I.SelectedRow()), "Appearance.TextColor");
    EXPECT_FALSE(D->Document().IsModified()) << "a click changes nothing";

    const int Before = List().Count();
    Run(At("dblclick", ButtonItem()));
    EXPECT_EQ(ButtonItem(), -1) << "fixed";
    EXPECT_EQ(List().Count(), Before - 1);
    EXPECT_EQ(Button().TextColor, Web("White")) << "the nearer fix is the background's";
    EXPECT_NE(Button().BackgroundColor, Web("SeaGreen"));
    EXPECT_TRUE(ContrastPasses(ContrastRatio(Web("White"), Button().BackgroundColor),
                               RequiredRatio(TContrastKind::Text, TContrastLevel::AA)));
    EXPECT_EQ(D->Status().Action(), "Changed Appearance.BackgroundColor");
    Run("key Ctrl+Z\n");
    EXPECT_EQ(Button().BackgroundColor, Web("SeaGreen"));
    EXPECT_FALSE(D->Document().IsModified()) << "one undo step";
    EXPECT_GE(ButtonItem(), 0);
}

} // namespace
