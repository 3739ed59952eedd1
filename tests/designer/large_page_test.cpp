// A large page in the preview: the index that finds what lies in an area, against the
// plain search over every component; and a drag's repaints of damaged parts alone,
// against a paint of the whole window.

#include <random>

#include "apps/designer/window/PageIndex.h"
#include "tests/designer/DesignerTesting.h"

namespace {

using namespace DesignerTesting;

TRect BoundsOf(const TQellControl& C) { return Bounds(C.Left, C.Top, C.Width, C.Height); }

// The controls of Page that meet Area, in page order, found the plain way.
std::vector<TQellControl*> PlainlyMeeting(const TQellPage& Page, const TRect& Area)
{
    std::vector<TQellControl*> Found;
    for (int I = 0; I < Page.ComponentCount(); ++I)
        if (auto* C = dynamic_cast<TQellControl*>(Page.Components(I)); C && !Intersect(BoundsOf(*C), Area).IsEmpty())
            Found.push_back(C);
    return Found;
}

TEST(PageIndex, FindsWhatThePlainSearchFindsAsComponentsMove)
{
    RegisterComponentClasses();
    std::mt19937 Random(23);
    const auto Between = [&](int Low, int High) { return std::uniform_int_distribution<int>(Low, High)(Random); };
    // Small components and a few that span the page, from the far corners of the
    // places allowed, some of no size at all.
    const auto Scatter = [&](TQellControl& C) {
        const bool Wide = Between(0, 19) == 0;
        C.Left = Between(-MaxQellExtent, MaxQellExtent);
        C.Top = Between(-MaxQellExtent, MaxQellExtent);
        C.Width = Wide ? Between(1000, MaxQellExtent) : Between(0, 300);
        C.Height = Wide ? Between(1000, MaxQellExtent) : Between(0, 300);
    };
    TQellPage Page(nullptr);
    for (int I = 0; I < 800; ++I)
        Scatter(*(I % 2 ? static_cast<TQellControl*>(new TQellLabel(&Page)) : new TQellButton(&Page)));
    TPageIndex Index;
    Index.Rebuild(Page);
    const auto Check = [&](const char* When) {
        for (int Q = 0; Q < 200; ++Q) {
            const int Far = 2 * MaxQellExtent, Near = -MaxQellExtent - 100;
            const TRect Area = Bounds(Between(Near, Far), Between(Near, Far), Between(0, 700), Between(0, 700));
            ASSERT_EQ(Index.Meeting(Area), PlainlyMeeting(Page, Area))
                << When << ": " << Area.Left << "," << Area.Top << " " << Area.Width() << "x" << Area.Height();
        }
    };
    Check("as read");
    for (int I = 0; I < 400; ++I) {
        auto& C = *static_cast<TQellControl*>(Page.Components(Between(0, Page.ComponentCount() - 1)));
        Scatter(C);
        Index.Update(C);
        EXPECT_EQ(*Index.Find(C), BoundsOf(C));
    }
    Check("after moves");
    EXPECT_EQ(Index.Find(TQellLabel(nullptr)), nullptr);
}

class LargePage : public Designer {
protected:
    // A grid of overlapping labels and buttons under the sample's components, which lie
    // last in the order and so on top.
    void SetUp() override
    {
        Designer::SetUp();
        std::string Grid;
        for (int I = 0; I < 1500; ++I)
            Grid += std::string(I % 2 ? "  object TQellLabel\n" : "  object TQellButton\n") + "    Left = " +
                    std::to_string(I % 50 * 36) + "\n    Top = " + std::to_string(I / 50 * 22) +
                    "\n    Width = 44\n    Height = 26\n    Caption = 'C" + std::to_string(I) + "'\n  end\n";
        std::string Text(SamplePageText());
        Text.insert(Text.find("  object "), "  Width = 2000\n  Height = 2000\n" + Grid);
        D->Document().SetPage(ReadPageText(Text), "");
        D->PaintAll();
    }
    // The window as repainted since the last whole paint equals a whole paint now.
    void ExpectAsPaintedWhole(const char* When)
    {
        D->FlushPaint();
        const TBitmap Shown = D->Surface();
        D->PaintAll();
        const TBitmap& Whole = D->Surface();
        int Failures = 0;
        for (int Y = 0; Y < Whole.Height() && Failures < 5; ++Y)
            for (int X = 0; X < Whole.Width() && Failures < 5; ++X)
                if (Shown.Pixel(X, Y) != Whole.Pixel(X, Y)) {
                    ADD_FAILURE() << When << ": pixel " << X << "," << Y;
                    ++Failures;
                }
    }
    void Mouse(void (TForm::*Event)(TMouseButton, TShiftState, int, int), TPoint PagePoint, TShiftState Keys)
    {
        const TPoint O = D->Preview().SurfaceOrigin(), C = D->Preview().ClientPoint(PagePoint);
        (D.get()->*Event)(mbLeft, Keys, O.X + C.X, O.Y + C.Y);
    }
    void MoveTo(TPoint PagePoint)
    {
        const TPoint O = D->Preview().SurfaceOrigin(), C = D->Preview().ClientPoint(PagePoint);
        D->HandleMouseMove(TShiftState{ssLeft}, O.X + C.X, O.Y + C.Y);
    }
};

TEST_F(LargePage, TheTopmostComponentIsTheOneClicked)
{
    const TPagePreview& P = D->Preview();
    for (const TPoint At : {TPoint{5, 5}, TPoint{40, 10}, TPoint{80, 70}, TPoint{330, 60}, TPoint{500, 300}}) {
        const std::vector<TQellControl*> Under = PlainlyMeeting(D->Document().Page(), Bounds(At.X, At.Y, 1, 1));
        ASSERT_FALSE(Under.empty());
        const TPoint C = P.ClientPoint(At);
        EXPECT_EQ(P.ComponentAt(C.X, C.Y), Under.back()) << At.X << "," << At.Y;
    }
}

TEST_F(LargePage, ADragRepaintsWhatAWholePaintShows)
{
    D->Document().Select({&Find<TComponent>("ButtonOrder")});
    ExpectAsPaintedWhole("selected");
    // ButtonOrder lies at 24,56, 120 x 32: dragged by its middle across the grid, the
    // guides of the edges it snaps to drawn and taken away.
    const TPoint From{84, 72};
    Mouse(&TForm::HandleMouseDown, From, TShiftState{ssLeft});
    bool Guided = false;
    for (int I = 1; I <= 40; ++I) {
        MoveTo({From.X + 7 * I, From.Y + 3 * I});
        D->FlushPaint();
        Guided = Guided || !D->Preview().Drag().Guides().X.empty() || !D->Preview().Drag().Guides().Y.empty();
        if (I % 10 == 0) ExpectAsPaintedWhole("while dragging");
    }
    EXPECT_TRUE(Guided) << "the drag snapped to no edge";
    Mouse(&TForm::HandleMouseUp, {From.X + 280, From.Y + 120}, {});
    ExpectAsPaintedWhole("released");
    EXPECT_NEAR(Find<TQellControl>("ButtonOrder").Left, 24 + 280, TGridSettings::Reach);

    // A resize by the bottom-right handle, then Escape.
    const TRect R = BoundsOf(Find<TQellControl>("ButtonOrder"));
    Mouse(&TForm::HandleMouseDown, {R.Right - 1, R.Bottom - 1}, TShiftState{ssLeft});
    for (int I = 1; I <= 12; ++I) {
        MoveTo({R.Right - 1 + 9 * I, R.Bottom - 1 + 5 * I});
        D->FlushPaint();
    }
    ExpectAsPaintedWhole("while resizing");
    D->HandleKeyDown(vkEscape, {});
    ExpectAsPaintedWhole("put back");
    EXPECT_EQ(BoundsOf(Find<TQellControl>("ButtonOrder")), R);
}

} // namespace
