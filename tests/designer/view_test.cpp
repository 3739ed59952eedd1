// What the designer's View keys show: the components whose colours fail a contrast
// check marked in the preview and counted on the status line (F7), and the preview as
// a person with a colour-vision deficiency sees it (F8), a hint over a marked component
// naming what fails, the rest of the window and the
// page's values untouched; the status line says what was last done.

#include <cstdio>
#include <set>

#include "colour/IWColors.h"
#include "platform/components/PageContrast.h"
#include "tests/designer/DesignerTesting.h"

namespace {

using namespace DesignerTesting;

constexpr TColor MarkRed = 0x0000FF;

// The components with a pair failing AA, found apart from the preview's own list.
std::set<const TComponent*> Failing(TQellPage& Page)
{
    std::set<const TComponent*> Found;
    for (const TContrastFinding& F : PageContrast(Page))
        if (F.Ratio < F.Required(TContrastLevel::AA)) Found.insert(F.Component);
    return Found;
}

TEST_F(Designer, F7MarksAndCountsTheComponentsThatFailAContrastCheck)
{
    const TPagePreview& P = D->Preview();
    D->PaintAll();
    const TRect Button = P.ComponentRect(Find("ButtonOrder"));
    // Just above the top edge, where the mark goes round the component, clear of the
    // handles a selected button has at its corners.
    const TPoint Edge{Button.Left + 8, Button.Top - 1};
    const TColor Unmarked = PixelOf(P, Edge.X, Edge.Y);
    EXPECT_TRUE(D->Status().ProblemsText().empty()) << "nothing counted before F7";

    Run("key F7\n");
    const std::set<const TComponent*> Expected = Failing(D->Document().Page());
    ASSERT_GE(Expected.size(), 3u) << "the sample page fails on its button, a slot and the spinner";
    EXPECT_EQ(std::set<const TComponent*>(P.Marked().begin(), P.Marked().end()), Expected);
    EXPECT_EQ(D->Status().ProblemsText(), std::to_string(Expected.size()) + " contrast problems");
    D->PaintAll();
    for (TComponent* C : PageComponents(D->Document().Page())) {
        if (C == &D->Document().Page()) continue;
        // The frame lies round the component, its own pixels left to be seen.
        const TRect R = Intersect(P.ComponentRect(*C), P.ComponentRect(D->Document().Page()));
        if (!P.ViewRect().Contains(R.Left - 1, R.Top - 1)) continue;
        EXPECT_EQ(PixelOf(P, R.Left - 1, R.Top - 1) == MarkRed, Expected.count(C) == 1) << C->Name();
    }

    // The button's background takes the nearer fix: one problem fewer, counted at once;
    // Ctrl+Z brings it back.
    Run("pick ButtonOrder\ninspect Inspector Appearance.TextColor\nkey Ctrl+K\n");
    D->PaintAll();
    EXPECT_NE(PixelOf(P, Edge.X, Edge.Y), MarkRed) << "the button passes now";
    EXPECT_EQ(D->Status().ProblemsText(), std::to_string(Expected.size() - 1) + " contrast problems");
    EXPECT_EQ(D->Status().Action(), "Changed Appearance.BackgroundColor");
    Run("key Ctrl+Z\n");
    EXPECT_EQ(D->Status().ProblemsText(), std::to_string(Expected.size()) + " contrast problems");
    EXPECT_EQ(D->Status().Action(), "Undid Appearance.BackgroundColor");

    Run("key F7\n");
    EXPECT_TRUE(P.Marked().empty());
    EXPECT_TRUE(D->Status().ProblemsText().empty());
    D->PaintAll();
    EXPECT_EQ(PixelOf(P, Edge.X, Edge.Y), Unmarked);

    const std::string File = TempFile("view.txt");
    std::remove(File.c_str());
    Run("key Ctrl+S\ntype FileName \"" + File + "\"\nclick OK\n");
    EXPECT_EQ(D->Status().Action(), "Saved designer_view.txt");

    // Another page is counted as it opens: the sample as it was, from a file.
    const std::string Sample = TempFile("view_sample.txt");
    SavePageFile(Sample, *ReadPageText(SamplePageText()));
    Run("key F7\npick ButtonOrder\ninspect Inspector Appearance.TextColor\nkey Ctrl+K\n");
    ASSERT_EQ(D->Status().ProblemsText(), std::to_string(Expected.size() - 1) + " contrast problems");
    ASSERT_TRUE(OpenPage(D->Document(), Sample));
    EXPECT_EQ(D->Status().ProblemsText(), std::to_string(Expected.size()) + " contrast problems");
    std::remove(Sample.c_str());
    std::remove(File.c_str());
}

// Resting the pointer on a marked component names its failing pairs, their ratios and
// what they need; on a component that passes, or with the marks off, nothing.
TEST_F(Designer, HoveringAMarkedComponentNamesItsFailingPairs)
{
    const TPagePreview& P = D->Preview();
    const auto Hover = [&](const char* Name) {
        D->PaintAll();
        const TRect R = P.ComponentRect(Find<TComponent>(Name));
        Run("hover Preview " + std::to_string(R.Left + 3) + " " + std::to_string(R.Top + 3) + "\n");
        return P.ContrastHint() ? P.ContrastHint()->Text() : std::string("(none)");
    };
    EXPECT_EQ(Hover("ButtonOrder"), "(none)") << "no marks, no hint";
    Run("key F7\n");
    // The ratio worked out apart from the page's own findings: white on sea green.
    const std::string Ratio = RatioText(ContrastRatio(ColorToRGB(Web("White")), ColorToRGB(Web("SeaGreen"))));
    ASSERT_EQ(Ratio, "4.24");
    EXPECT_EQ(Hover("ButtonOrder"), "Appearance.TextColor on Appearance.BackgroundColor: 4.24:1, needs 4.5:1");
    const THintWindow& Hint = *P.ContrastHint();
    const TRect Button = P.ComponentRect(Find<TComponent>("ButtonOrder"));
    EXPECT_GT(Hint.Top(), P.SurfaceOrigin().Y + Button.Top + 3) << "below the pointer";
    D->PaintAll();
    EXPECT_EQ(PixelOf(Hint, Hint.Width() - 3, Hint.Height() - 3), ColorToRGB(clInfoBk)) << "drawn over the page";
    const int OneLine = Hint.Height() - 2 * THintWindow::Padding;

    // Every failing pair of the spinner, one a line, a slot's from the spinner on.
    EXPECT_EQ(Hover("SpinnerFilling"),
              "Appearance.HighlightTextColor on Appearance.HighlightColor: 4.49:1, needs 4.5:1\n"
              "Slots[2].TextColor on Slots[2].BackgroundColor: 3.67:1, needs 4.5:1");
    EXPECT_EQ(P.ContrastHint()->Height(), 2 * OneLine + 2 * THintWindow::Padding);
    EXPECT_EQ(Hover("TrackbarSize"), "Appearance.FillColor on Appearance.TrackColor: 1.55:1, needs 3:1\n"
                                     "Indicator.OnColor on Indicator.OffColor: 1.97:1, needs 3:1");
    EXPECT_EQ(Hover("LabelTitle"), "(none)") << "a component that passes";

    // Fixed, the button has nothing to say; the hint goes as the pointer leaves or a
    // button is pressed.
    Run("pick ButtonOrder\ninspect Inspector Appearance.TextColor\nkey Ctrl+K\n");
    EXPECT_EQ(Hover("ButtonOrder"), "(none)");
    EXPECT_NE(Hover("PopupConfirm"), "(none)");
    Run("hover Components 5 5\n");
    EXPECT_EQ(P.ContrastHint(), nullptr) << "the pointer left the page";
    EXPECT_NE(Hover("PopupConfirm"), "(none)");
    Run("key F7\n");
    EXPECT_EQ(P.ContrastHint(), nullptr) << "the marks went, and the hint with them";
}

TEST_F(Designer, F8RecoloursThePreviewOnlyAsEachDeficiencySeesIt)
{
    const TPagePreview& P = D->Preview();
    const TPropertyInspector& I = D->Inspector();
    const std::string Saved = Text();
    D->PaintAll();
    const TRect Page = Intersect(P.ComponentRect(D->Document().Page()), P.ViewRect());
    // A few points of the page, the workspace beside it, and the inspector.
    const std::vector<TPoint> Points{{Page.Left + 3, Page.Top + 3},
                                     {(Page.Left + Page.Right) / 2, (Page.Top + Page.Bottom) / 2},
                                     {Page.Left + 130, Page.Top + 90},
                                     {Page.Right - 5, Page.Bottom - 5}};
    std::vector<TColor> Normal;
    for (const TPoint At : Points) Normal.push_back(PixelOf(P, At.X, At.Y));
    const TColor Workspace = PixelOf(P, 2, 2);
    const TColor InspectorPixel = PixelOf(I, I.Width() / 2, 30);

    for (const TVisionDeficiency V : {TVisionDeficiency::Protanopia, TVisionDeficiency::Deuteranopia,
                                      TVisionDeficiency::Tritanopia, TVisionDeficiency::Achromatopsia}) {
        Run("key F8\n");
        ASSERT_EQ(D->Simulation(), V);
        EXPECT_EQ(D->Status().Action(), std::string("Preview as seen with ") + VisionDeficiencyName(V));
        D->PaintAll();
        for (size_t K = 0; K < Points.size(); ++K)
            EXPECT_EQ(PixelOf(P, Points[K].X, Points[K].Y), SimulateVision(Normal[K], V))
                << VisionDeficiencyName(V) << " at " << Points[K].X << "," << Points[K].Y;
        EXPECT_EQ(PixelOf(P, 2, 2), Workspace);
        EXPECT_EQ(PixelOf(I, I.Width() / 2, 30), InspectorPixel);
    }
    Run("key F8\n");
    EXPECT_EQ(D->Simulation(), TVisionDeficiency::None);
    D->PaintAll();
    for (size_t K = 0; K < Points.size(); ++K) EXPECT_EQ(PixelOf(P, Points[K].X, Points[K].Y), Normal[K]);
    EXPECT_EQ(Text(), Saved) << "the page's values are never recoloured";

    // The View button's menu does the same as the keys, and ticks what is in force.
    Run("click View\nmenu \"Tritanopia\"\nclick View\nmenu \"Mark contrast problems (F7)\"\nclick View\n");
    EXPECT_EQ(D->Simulation(), TVisionDeficiency::Tritanopia);
    EXPECT_TRUE(D->ContrastMarks());
    const TPopupMenu* Menu = nullptr;
    for (int K = 0; K < D->ComponentCount() && !Menu; ++K) Menu = dynamic_cast<const TPopupMenu*>(D->Components(K));
    ASSERT_TRUE(Menu && Menu->IsOpen());
    // The grid's settings at their defaults: snapping on, every 8 pixels.
    for (const TMenuItem& Item : Menu->Items)
        EXPECT_EQ(Item.Checked, Item.Caption == "Tritanopia" || Item.Caption == "Mark contrast problems (F7)" ||
                                    Item.Caption == "Snap to grid" || Item.Caption == "Grid size 8")
            << Item.Caption;
    Run("key Escape\nclick View\nmenu \"Normal vision\"\n");
    EXPECT_EQ(D->Simulation(), TVisionDeficiency::None);
}

} // namespace
