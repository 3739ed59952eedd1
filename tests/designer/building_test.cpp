// Building a page in the designer as a person does, headless: placing from the palette,
// moving and resizing with the mouse (snapping to the grid and to other components,
// Escape putting a drag back), the rubber band, the keys, deleting and undoing to the
// saved text byte for byte, the clipboard keeping names unique and refusing what is no
// component, and the align and order commands of the page's menu.

#include <algorithm>
#include <cstdlib>
#include <set>

#include "apps/designer/document/Alignment.h"
#include "platform/toolkit/resources/ClassRegistry.h"
#include "tests/designer/DesignerTesting.h"

namespace {

using namespace DesignerTesting;

TRect BoundsOf(const TQellControl& C) { return Bounds(C.Left, C.Top, C.Width, C.Height); }

std::string Num(int V) { return std::to_string(V); }

class Building : public Designer {
protected:
    void SetUp() override
    {
        Designer::SetUp();
        // Key presses in a script come at once; a fixed clock keeps a run of them one
        // step however busy the machine is.
        D->Document().Clock = [] { return std::chrono::steady_clock::time_point{}; };
    }
    TPagePreview& P() const { return D->Preview(); }
    // A point of the page, as the preview's script coordinates (not scrolled).
    std::string At(int X, int Y) const
    {
        const TPoint C = P().ClientPoint({X, Y});
        return Num(C.X) + " " + Num(C.Y);
    }
    // "click Palette X Y" on the class's line.
    std::string PaletteLine(const char* Class) const
    {
        const std::vector<const TClassInfo*>& Classes = D->Palette().Classes();
        const auto It = std::find_if(Classes.begin(), Classes.end(), [&](const TClassInfo* C) { return C->Name == Class; });
        EXPECT_NE(It, Classes.end()) << Class;
        const TRect R = D->Palette().ItemRect(static_cast<int>(It - Classes.begin()) + 1);
        return "Palette " + Num((R.Left + R.Right) / 2) + " " + Num((R.Top + R.Bottom) / 2);
    }
    // Presses at page point From and moves to To in a few steps with Keys held, as a
    // person's drag; Escape before the release when Cancel.
    void Drag(TPoint From, TPoint To, TShiftState Keys = {})
    {
        const TPoint O = P().SurfaceOrigin(), A = P().ClientPoint(From), B = P().ClientPoint(To);
        TShiftState Held = Keys;
        Held.Include(ssLeft);
        D->HandleMouseDown(mbLeft, Held, O.X + A.X, O.Y + A.Y);
        for (int I = 1; I <= 4; ++I)
            D->HandleMouseMove(Held, O.X + A.X + (B.X - A.X) * I / 4, O.Y + A.Y + (B.Y - A.Y) * I / 4);
        D->HandleMouseUp(mbLeft, Keys, O.X + B.X, O.Y + B.Y);
    }
    TQellControl& Control(const char* Name) const { return Find<TQellControl>(Name); }
};

// Where a move snaps, found the plain way: every edge and centre of every other
// component and of the page, nearest within 4 pixels, else the grid.
TRect ExpectedMove(const TQellPage& Page, const TQellControl& Moving, TRect R)
{
    std::vector<TRect> Others{Rect(0, 0, Page.Width, Page.Height)};
    for (int I = 0; I < Page.ComponentCount(); ++I)
        if (auto* C = dynamic_cast<const TQellControl*>(Page.Components(I)); C && C != &Moving) Others.push_back(BoundsOf(*C));
    const auto Axis = [&](int Start, int Size, bool Across) {
        int Best = 5;
        for (const TRect& O : Others)
            for (const int T : Across ? std::vector<int>{O.Left, O.Right, O.Left + O.Width() / 2}
                                      : std::vector<int>{O.Top, O.Bottom, O.Top + O.Height() / 2})
                for (const int V : {Start, Start + Size / 2, Start + Size})
                    if (std::abs(T - V) <= 4 && std::abs(T - V) < std::abs(Best)) Best = T - V;
        return Best != 5 ? Start + Best : (Start + 4) / 8 * 8;
    };
    return Bounds(Axis(R.Left, R.Width(), true), Axis(R.Top, R.Height(), false), R.Width(), R.Height());
}

TEST_F(Building, ThePalettePlacesByClickByDragAndWithoutAMouse)
{
    const std::string Before = Text();
    Run("click " + PaletteLine("TQellButton") + "\n");
    EXPECT_EQ(D->Document().PlacingClass(), FindClass("TQellButton"));
    Run("click Preview " + At(100, 400) + "\n");
    const TQellControl& Button = Control("QellButton1");
    EXPECT_EQ(BoundsOf(Button), Bounds(100, 400, 120, 32)) << "its default size, its corner at the click";
    EXPECT_EQ(D->Document().Selection(), std::vector<TPersistent*>{&Find<TComponent>("QellButton1")});
    EXPECT_EQ(D->Document().PlacingClass(), nullptr) << "back to the pointer";
    EXPECT_EQ(D->Palette().ItemIndex(), 0);

    Run("click " + PaletteLine("TQellLabel") + "\ndrag Preview " + At(200, 330) + " " + At(330, 352) + "\n");
    EXPECT_EQ(BoundsOf(Control("QellLabel1")), Bounds(200, 330, 130, 22)) << "the size dragged";

    // Escape, or a right click in the page, leaves placing without placing.
    Run("click " + PaletteLine("TQellList") + "\nkey Escape\n");
    EXPECT_EQ(D->Document().PlacingClass(), nullptr);
    Run("click " + PaletteLine("TQellList") + "\nrclick Preview " + At(500, 20) + "\n");
    EXPECT_EQ(D->Document().PlacingClass(), nullptr);
    EXPECT_EQ(D->Document().Page().FindComponent("QellList1"), nullptr);

    // A double click, or Enter, places at the top-left, clear of the last one placed so.
    Run("dblclick " + PaletteLine("TQellList") + "\ndblclick " + PaletteLine("TQellList") + "\nclick " +
        PaletteLine("TQellList") + "\nkey Enter\n");
    ASSERT_NE(D->Document().Page().FindComponent("QellList3"), nullptr);
    EXPECT_EQ(BoundsOf(Control("QellList1")).Left, 8);
    EXPECT_EQ(BoundsOf(Control("QellList2")).Left, 16);
    EXPECT_EQ(BoundsOf(Control("QellList3")).Top, 24);

    for (int I = 0; I < 5; ++I) Run("key Ctrl+Z\n");
    EXPECT_EQ(Text(), Before) << "each placing is one undo step";
}

TEST_F(Building, DraggingMovesAndResizesWithSnapsAndEscapePutsItBack)
{
    TQellControl& Button = Control("ButtonOrder");
    const TRect Start = BoundsOf(Button);
    const TPoint Grip{Start.Left + 10, Start.Top + 10};
    // Moved on the grid or onto a neighbour's edge, as a plain search finds it.
    for (const TPoint By : {TPoint{37, 301}, TPoint{133, 205}, TPoint{-13, 333}}) {
        const TRect Was = BoundsOf(Button);
        Drag(Grip, {Grip.X + By.X, Grip.Y + By.Y});
        EXPECT_EQ(BoundsOf(Button),
                  ExpectedMove(D->Document().Page(), Button,
                               Bounds(Start.Left + By.X, Start.Top + By.Y, Start.Width(), Start.Height())))
            << By.X << "," << By.Y;
        Run("key Ctrl+Z\n");
        EXPECT_EQ(BoundsOf(Button), Was) << "a drag is one step";
    }
    // Next to the spinner's left edge: it catches, and a guide shows while dragging.
    const TQellControl& Spinner = Control("SpinnerFilling");
    const TPoint O = P().SurfaceOrigin(), A = P().ClientPoint(Grip);
    const int Near = Spinner.Left - Start.Left + 3;
    D->HandleMouseDown(mbLeft, TShiftState{ssLeft}, O.X + A.X, O.Y + A.Y);
    D->HandleMouseMove(TShiftState{ssLeft}, O.X + A.X + Near, O.Y + A.Y + 200);
    EXPECT_EQ(Button.Left, Spinner.Left);
    const std::vector<int>& Guides = P().Drag().Guides().X;
    EXPECT_NE(std::find(Guides.begin(), Guides.end(), Spinner.Left), Guides.end());
    // Alt turns snapping off; Escape puts it all back and leaves no step.
    D->HandleMouseMove(TShiftState{ssLeft, ssAlt}, O.X + A.X + Near, O.Y + A.Y + 203);
    EXPECT_EQ(Button.Left, Spinner.Left + 3);
    EXPECT_EQ(Button.Top, Start.Top + 203);
    Run("key Escape\n");
    D->HandleMouseUp(mbLeft, {}, O.X + A.X + Near, O.Y + A.Y + 203);
    EXPECT_EQ(BoundsOf(Button), Start);
    EXPECT_FALSE(D->Document().CanUndo());

    // Each of the eight handles moves its own edges; the pointer says which way.
    for (int Handle = 0; Handle < 8; ++Handle) {
        const TMovingEdges E = TPageDrag::EdgesOf(Handle);
        const TRect R = P().ComponentRect(Button);
        const int MidX = (R.Left + R.Right - 1) / 2, MidY = (R.Top + R.Bottom - 1) / 2;
        const int HX = E.Left ? R.Left : E.Right ? R.Right - 1 : MidX, HY = E.Top ? R.Top : E.Bottom ? R.Bottom - 1 : MidY;
        D->HandleMouseMove({}, O.X + HX, O.Y + HY);
        const TCursor Way[] = {crSizeNWSE, crSizeNS, crSizeNESW, crSizeWE, crSizeNWSE, crSizeNS, crSizeNESW, crSizeWE};
        EXPECT_EQ(Application->BackEnd().Cursor(), Way[Handle]) << Handle;
        const TPoint Page = P().PagePoint(HX, HY);
        Drag(Page, {Page.X + 13, Page.Y + 9}, TShiftState{ssAlt});
        const TRect Now = BoundsOf(Button);
        EXPECT_EQ(Now.Left, Start.Left + (E.Left ? 13 : 0)) << Handle;
        EXPECT_EQ(Now.Right, Start.Right + (E.Right ? 13 : 0)) << Handle;
        EXPECT_EQ(Now.Top, Start.Top + (E.Top ? 9 : 0)) << Handle;
        EXPECT_EQ(Now.Bottom, Start.Bottom + (E.Bottom ? 9 : 0)) << Handle;
        Run("key Ctrl+Z\n");
        ASSERT_EQ(BoundsOf(Button), Start);
    }
}

TEST_F(Building, ARubberBandSelectsWhatItTouches)
{
    const TQellPage& Page = D->Document().Page();
    const TRect Band = Rect(280, 40, 330, 230);
    Drag({Band.Left, Band.Top}, {Band.Right, Band.Bottom});
    std::set<TPersistent*> Touched;
    for (int I = 0; I < Page.ComponentCount(); ++I)
        if (auto* C = dynamic_cast<TQellControl*>(Page.Components(I)); C && !Intersect(BoundsOf(*C), Band).IsEmpty())
            Touched.insert(C);
    ASSERT_EQ(Touched.size(), 2u) << "the spinner and the popup";
    const std::vector<TPersistent*>& Chosen = D->Document().Selection();
    EXPECT_EQ(std::set<TPersistent*>(Chosen.begin(), Chosen.end()), Touched);
    // With Ctrl, what it touches joins the selection.
    Drag({10, 10}, {30, 20}, TShiftState{ssCtrl});
    EXPECT_EQ(D->Document().Selection().size(), 3u) << "the title label too";
    EXPECT_EQ(D->Document().Selection().back(), &Find<TComponent>("LabelTitle"));
}

TEST_F(Building, KeysMoveResizeAndSelectInThePage)
{
    TQellControl& Button = Control("ButtonOrder");
    const TRect Start = BoundsOf(Button);
    Run("pick ButtonOrder\nkey Right\nkey Right\nkey Right\nkey Ctrl+Down\n");
    EXPECT_EQ(BoundsOf(Button), Bounds(Start.Left + 3, Start.Top + 8, Start.Width(), Start.Height()));
    Run("key Ctrl+Z\n");
    EXPECT_EQ(Button.Left, Start.Left + 3) << "Ctrl+Down was a step of its own";
    Run("key Ctrl+Z\n");
    EXPECT_EQ(BoundsOf(Button), Start) << "three presses of Right, one step";
    Run("key Shift+Right\nkey Shift+Down\nkey Ctrl+Shift+Right\n");
    EXPECT_EQ(BoundsOf(Button), Bounds(Start.Left, Start.Top, Start.Width() + 9, Start.Height() + 1));
    Run("key Tab\n");
    EXPECT_EQ(D->Document().Selection(), std::vector<TPersistent*>{&Find<TComponent>("OnOffToasted")});
    Run("key Shift+Tab\nkey Shift+Tab\n");
    EXPECT_EQ(D->Document().Selection(), std::vector<TPersistent*>{&Find<TComponent>("LabelTitle")});
    Run("key Ctrl+A\n");
    EXPECT_EQ(D->Document().Selection().size(), static_cast<size_t>(D->Document().Page().ComponentCount()));
}

TEST_F(Building, DeletingAndUndoingGiveTheSavedFileBackByteForByte)
{
    const std::string File = TempFile("building_delete.txt");
    ASSERT_TRUE(D->Document().SaveAs(File));
    const std::string Saved = Contents(File);
    Run("pick ButtonOrder\npick SpinnerFilling ctrl\nkey Delete\n");
    EXPECT_EQ(D->Document().Page().FindComponent("ButtonOrder"), nullptr);
    EXPECT_EQ(D->Document().Page().FindComponent("SpinnerFilling"), nullptr);
    EXPECT_EQ(D->Document().FindEntry("SpinnerFilling.Slots[0]"), nullptr) << "its items are gone from the list";
    Run("key Ctrl+Z\n");
    EXPECT_EQ(Text(), Saved);
    EXPECT_FALSE(D->Document().IsModified());
    Run("key Ctrl+Y\nkey Ctrl+Z\nkey Ctrl+S\n");
    EXPECT_EQ(Contents(File), Saved);
    std::remove(File.c_str());
}

TEST_F(Building, TheClipboardKeepsNamesUniqueAndRefusesWhatIsNoComponent)
{
    const TQellControl& Order = Control("ButtonOrder");
    Run("pick ButtonOrder\nkey Ctrl+C\nkey Ctrl+V\nkey Ctrl+V\n");
    EXPECT_EQ(BoundsOf(Control("ButtonOrder1")).Left, Order.Left + 8);
    EXPECT_EQ(BoundsOf(Control("ButtonOrder1")).Top, Order.Top + 8);
    EXPECT_EQ(BoundsOf(Control("ButtonOrder2")).Left, Order.Left + 16) << "not onto the first copy";
    EXPECT_EQ(D->Document().Selection(), std::vector<TPersistent*>{&Find<TComponent>("ButtonOrder2")});
    EXPECT_EQ(Application->BackEnd().ClipboardText().rfind("object ButtonOrder: TQellButton", 0), 0u)
        << "page-file text, for a text editor and back";
    const int Left = Order.Left;
    Run("pick ButtonOrder\nkey Ctrl+X\nkey Ctrl+V\nkey Ctrl+D\n");
    EXPECT_EQ(Control("ButtonOrder").Left, Left + 24) << "a cut name is free again; the place is the first free step";
    EXPECT_NE(D->Document().Page().FindComponent("ButtonOrder3"), nullptr) << "the duplicate";

    const std::string Before = Text();
    Application->BackEnd().SetClipboardText("object Evil: TNoSuchClass\n  Left = 1\nend\n");
    TRecordingBackEnd& Back = Run("key Ctrl+V\nclick OK\n");
    ASSERT_EQ(Back.Messages.size(), 1u);
    EXPECT_NE(Back.Messages[0].find("line 1"), std::string::npos) << Back.Messages[0];
    EXPECT_NE(Back.Messages[0].find("TNoSuchClass"), std::string::npos) << Back.Messages[0];
    EXPECT_EQ(Text(), Before);
}

TEST_F(Building, TheMenuAlignsSizesAndOrdersAfterTheFirstSelected)
{
    const char* Names[] = {"ButtonOrder", "TrackbarSize", "ListBread"};
    std::vector<TRect> Rects;
    for (const char* N : Names) Rects.push_back(BoundsOf(Control(N)));
    Run("pick ButtonOrder\npick TrackbarSize ctrl\npick ListBread ctrl\n");
    // The first one's handles are filled, the others' hollow.
    D->PaintAll();
    const TRect Lead = P().ComponentRect(Control("ButtonOrder")), Other = P().ComponentRect(Control("ListBread"));
    EXPECT_EQ(PixelOf(P(), Lead.Left, Lead.Top), clBlack);
    EXPECT_NE(PixelOf(P(), Other.Left, Other.Top), clBlack);

    const TRect Menu = P().ComponentRect(Control("ListBread"));
    Run("rclick Preview " + Num(Menu.Left + 5) + " " + Num(Menu.Top + 5) +
        "\nmenu \"Align and size...\"\nmenu \"Align right edges\"\n");
    const std::vector<TRect> Expected = Aligned(Rects, TAlignment::Rights);
    for (size_t I = 0; I < 3; ++I) EXPECT_EQ(BoundsOf(Control(Names[I])), Expected[I]) << Names[I];
    EXPECT_EQ(Control("ListBread").Left + Control("ListBread").Width, Rects[0].Right);
    Run("rclick Preview " + Num(Menu.Left + 5) + " " + Num(Menu.Top + 5) +
        "\nmenu \"Align and size...\"\nmenu \"Make same width\"\n");
    for (const char* N : Names) EXPECT_EQ(Control(N).Width, Rects[0].Width()) << N;
    Run("key Ctrl+Z\nkey Ctrl+Z\n");
    for (size_t I = 0; I < 3; ++I) EXPECT_EQ(BoundsOf(Control(Names[I])), Rects[I]) << Names[I];

    const TQellPage& Page = D->Document().Page();
    Run("pick ButtonOrder\nrclick Preview " + Num(Lead.Left + 5) + " " + Num(Lead.Top + 5) +
        "\nmenu \"Bring to front\"\n");
    EXPECT_EQ(Page.Components(Page.ComponentCount() - 1), &Find<TComponent>("ButtonOrder"));
    Run("rclick Preview " + Num(Lead.Left + 5) + " " + Num(Lead.Top + 5) + "\nmenu \"Send to back\"\n");
    EXPECT_EQ(Page.Components(0), &Find<TComponent>("ButtonOrder"));
}

} // namespace
