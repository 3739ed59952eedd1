// The colour property editor: its drawing against an independent picture of what it
// must draw, its routing of typed text, its dialog through the real inspector, and the
// custom colours every dialog shares.

#include <gtest/gtest.h>

#include "editor/IWKAVMOBILEDsnColor.h"
#include "tests/designide/InspectorTesting.h"

using namespace inspecttest;

namespace {

const char Package = 0; // stands for the module that registers the editor

class ColorEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        IWKAVMOBILEDsnColor_Initialization();
        RegisterPropertyEditor(&TypeInfoTIWColor, &TGadget::StaticClassInfo(), "",
                               TIWKAVMOBILEColorEditor::EditorClass(), &Package);
    }
    void TearDown() override
    {
        NotifyModuleUnload(&Package);
        IWKAVMOBILEDsnColor_Finalization();
    }

    // An editor of Gadget.Paint (and of Other's, when given).
    TInterfacePtr<TPropertyEditor> EditorFor(TGadget& Gadget, TGadget* Other = nullptr)
    {
        TInterfacePtr<TPropertyEditor> E(TIWKAVMOBILEColorEditor::EditorClass().Create(&Designer, Other ? 2 : 1));
        E->SetPropEntry(0, &Gadget, Gadget.ClassInfo().FindProperty("Paint"));
        if (Other) E->SetPropEntry(1, Other, Other->ClassInfo().FindProperty("Paint"));
        E->Initialize();
        return E;
    }

    TDesignerProbe Designer;
};

// What a list item of a 100 x 16 rectangle must look like left of the text: the square
// cleared to the background, then a one-pixel ring in Border around the swatch.
TColor Expected(int X, int Y, TColor Background, TColor Swatch, TColor Border)
{
    if (X < 1 || X > 14 || Y < 1 || Y > 14) return Background;
    if (X == 1 || X == 14 || Y == 1 || Y == 14) return ColorToRGB(Border);
    return ColorToRGB(Swatch);
}

struct TSwatchCase {
    const char* Value;
    bool Selected;
    TColor Swatch, Border;
};

TEST_F(ColorEditor, ListItemsShowASwatchWhoseBorderFollowsTheColour)
{
    TGadget Gadget(nullptr);
    TInterfacePtr<ICustomPropertyListDrawing> Drawing;
    ASSERT_TRUE(Supports(EditorFor(Gadget).Get(), Drawing));
    const TColor Background = 0x00A0B0C0, Pen = 0x00102030;
    const TSwatchCase Cases[] = {
        {"White", false, clWhite, clBlack},  // light: black either way
        {"White", true, clWhite, clBlack},
        {"$000000C1", false, 0xC1, clBlack}, // red 193: one light component suffices
        {"$00C0C0C0", true, 0xC0C0C0, clWhite}, // 192 counts as dark: white when selected
        {"$00C0C0C0", false, 0xC0C0C0, 0xC0C0C0}, // and no visible border when not
        {"Navy", true, 0x800000, clWhite},
        {"clBtnFace", false, clBtnFace, clBlack}, // judged by the colour it stands for
        {"clWindowText", true, clWindowText, clWhite},
        {"clWindowText", false, clWindowText, clWindowText},
    };
    for (const TSwatchCase& K : Cases) {
        TBitmap Bitmap(100, 16, Background);
        TCanvas C(&Bitmap, {0, 0}, Rect(0, 0, 100, 16));
        C.Brush.Color = Background;
        C.Pen.Color = Pen;
        Drawing->ListDrawValue(K.Value, C, Rect(0, 0, 100, 16), K.Selected);
        int Wrong = 0;
        for (int Y = 0; Y < 16; ++Y)
            for (int X = 0; X < 16; ++X)
                if (Bitmap.Pixel(X, Y) != Expected(X, Y, Background, K.Swatch, K.Border) && Wrong++ < 3)
                    ADD_FAILURE() << K.Value << (K.Selected ? " selected" : "") << " at " << X << "," << Y;
        bool Text = false;
        for (int Y = 0; Y < 16; ++Y)
            for (int X = 16; X < 100; ++X) Text = Text || Bitmap.Pixel(X, Y) != Background;
        EXPECT_TRUE(Text) << K.Value << ": the text goes right of the square";
        EXPECT_EQ(C.Pen.Color, Pen) << "pen and brush as they were";
        EXPECT_EQ(C.Brush.Color, Background);
    }
    // Text that is no colour raises, and the canvas is still as the caller left it.
    TBitmap Bitmap(100, 16, Background);
    TCanvas C(&Bitmap, {0, 0}, Rect(0, 0, 100, 16));
    C.Brush.Color = Background;
    C.Pen.Color = Pen;
    EXPECT_THROW(Drawing->ListDrawValue("NoColour", C, Rect(0, 0, 100, 16), false), EConvertError);
    EXPECT_EQ(C.Pen.Color, Pen) << "pen and brush restored on the way out";
    EXPECT_EQ(C.Brush.Color, Background);
}

TEST_F(ColorEditor, TheValueCellIsDrawnAsSelectedAndBlankWhenObjectsDisagree)
{
    TGadget Gadget(nullptr), Other(nullptr);
    Gadget.Paint = Other.Paint = 0x404040; // dark
    TInterfacePtr<ICustomPropertyDrawing> Drawing;
    ASSERT_TRUE(Supports(EditorFor(Gadget, &Other).Get(), Drawing));
    TBitmap Bitmap(100, 16, clWhite);
    TCanvas C(&Bitmap, {0, 0}, Rect(0, 0, 100, 16));
    C.Brush.Color = clWhite;
    Drawing->PropDrawValue(C, Rect(0, 0, 100, 16), false);
    EXPECT_EQ(Bitmap.Pixel(1, 5), clWhite) << "the selected rule: a dark colour framed in white";
    EXPECT_EQ(Bitmap.Pixel(5, 5), 0x404040);

    Other.Paint = 0x123456;
    ASSERT_TRUE(Supports(EditorFor(Gadget, &Other).Get(), Drawing));
    TBitmap Blank(100, 16, clWhite);
    TCanvas B(&Blank, {0, 0}, Rect(0, 0, 100, 16));
    Drawing->PropDrawValue(B, Rect(0, 0, 100, 16), true);
    EXPECT_EQ(Blank, TBitmap(100, 16, clWhite)) << "no value: the plain, empty cell";
}

TEST_F(ColorEditor, NamesAndLiteralsAreRoutedAndErrorsChangeNothing)
{
    TGadget Gadget(nullptr);
    TInterfacePtr<TPropertyEditor> E = EditorFor(Gadget);
    EXPECT_EQ(E->GetValue(), "White");
    E->SetValue("navy");
    EXPECT_EQ(Gadget.Paint, 0x800000);
    EXPECT_EQ(E->GetValue(), "Navy");
    E->SetValue("clBtnFace");
    EXPECT_EQ(Gadget.Paint, clBtnFace);
    E->SetValue("$000000FF");
    EXPECT_EQ(Gadget.Paint, 0xFF);
    EXPECT_EQ(E->GetValue(), "Red");
    E->SetValue("1193046");
    EXPECT_EQ(E->GetValue(), "$00123456");
    EXPECT_EQ(Designer.Modifications, 4);
    try {
        E->SetValue("Bluish");
        FAIL() << "no error";
    } catch (const EConvertError& Error) {
        EXPECT_STREQ(Error.what(), "'Bluish' is not a colour: type a name from the list (clNavy, clBtnFace), #RRGGBB, "
                                   "$00BBGGRR or a number from 0 to 16777215");
    }
    EXPECT_EQ(Gadget.Paint, 0x123456);
    EXPECT_EQ(Designer.Modifications, 4);

    std::vector<std::string> Values;
    E->GetValues([&](const std::string& S) { Values.push_back(S); });
    ASSERT_EQ(Values.size(), 52u + IWColorCount);
    EXPECT_EQ(Values.front(), "clBlack");
    EXPECT_EQ(Values[51], "clDefault");
    EXPECT_EQ(Values[52], IWColors[0].Name);
    EXPECT_EQ(Values.back(), IWColors[IWColorCount - 1].Name);
    EXPECT_TRUE(E->GetAttributes().Contains(paDialog));
    EXPECT_TRUE(E->GetAttributes().Contains(paValueList));
}

// A user in the inspector: the row shows the name and swatch; the list sets a name;
// a typed literal; the dialog picks a web colour; OK without a change writes the same
// value again; Cancel writes nothing but keeps the custom colour it added.
TEST_F(ColorEditor, EveryWayThroughTheInspectorEndsInTheComponent)
{
    TInspectorForm F;
    const int Row = F.Row("Paint");
    ASSERT_EQ(F.Inspector->RowEditor(Row)->ClassName(), "TIWKAVMOBILEColorEditor");
    F.Form.PaintAll();
    const TRect V = F.Inspector->ValueRect(Row);
    EXPECT_EQ(PixelOf(*F.Inspector, V.Left + 5, V.Top + 5), clWhite);
    EXPECT_EQ(PixelOf(*F.Inspector, V.Left + 1, V.Top + 5), clBlack) << "a light swatch framed in black";

    F.Run("inspect Inspector Paint\ndropdown Inspector\nchoose Inspector \"Teal\"\n");
    EXPECT_EQ(F.Gadget.Paint, 0x808000);
    F.Form.PaintAll();
    EXPECT_EQ(PixelOf(*F.Inspector, V.Left + 5, V.Top + 5), 0x808000);

    F.Run("inspect Inspector Paint\ntype Inspector \"$00010203\"\nkey Enter\n");
    EXPECT_EQ(F.Gadget.Paint, 0x010203);

    // The dialog opens on the literal (the custom page); a web colour replaces it.
    F.Run("inspect Inspector Paint\nellipsis Inspector\npage PageControl1 0\nselect WebColorsGrid 0 0\nclick Button1\n");
    EXPECT_EQ(IWColorToString(F.Gadget.Paint), IWColors[0].Name);
    const int Before = F.Designer.Modifications;
    F.Run("inspect Inspector Paint\nellipsis Inspector\nkey Enter\n");
    EXPECT_EQ(F.Designer.Modifications, Before + 1) << "OK writes the selection back, unchanged";

    F.Run("inspect Inspector Paint\nellipsis Inspector\npage PageControl1 2\nclick PaintBoxColor 51 1\n"
          "select GridCustomColors 0 0\nclick ButtonAdd\nkey Escape\n");
    EXPECT_EQ(IWColorToString(F.Gadget.Paint), IWColors[0].Name) << "Cancel writes nothing";
    ASSERT_EQ(CustomColorsList->Count(), 28);
    EXPECT_EQ(CustomColorsList->Strings(0), "$0001BF60") << "the added colour stays for the next dialog";
    F.Run("inspect Inspector Paint\nellipsis Inspector\npage PageControl1 2\nselect GridCustomColors 0 0\n"
          "click Button1\n");
    EXPECT_EQ(F.Gadget.Paint, 0x0001BF60);
    EXPECT_EQ(Application->ComponentCount(), 0) << "every dialog freed";
}

TEST(ColorEditorUnit, InitialisationIsCounted)
{
    EXPECT_EQ(CustomColorsList, nullptr);
    IWKAVMOBILEDsnColor_Initialization();
    TStringList* First = CustomColorsList;
    ASSERT_NE(First, nullptr);
    EXPECT_EQ(First->Count(), 0);
    IWKAVMOBILEDsnColor_Initialization();
    EXPECT_EQ(CustomColorsList, First) << "a second initialisation does nothing";
    IWKAVMOBILEDsnColor_Finalization();
    EXPECT_EQ(CustomColorsList, First) << "only the balancing finalisation frees it";
    IWKAVMOBILEDsnColor_Finalization();
    EXPECT_EQ(CustomColorsList, nullptr);
}

} // namespace
