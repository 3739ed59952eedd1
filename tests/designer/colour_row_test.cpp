// A colour row as a person uses it beyond typing: its CSS forms on the description line
// and Copy as #RRGGBB; either fix of a failing pair from the row menu; the eyedropper
// on the page (with a simulation showing, one undo step, cancelled by Escape or a right
// click); the page's own colours with their counts, following an edit and its undo.

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "apps/designer/document/PageColours.h"
#include "colour/ColourDifference.h"
#include "colour/Contrast.h"
#include "colour/CssColour.h"
#include "platform/components/PagePainter.h"
#include "tests/designer/DesignerTesting.h"

namespace {

using namespace DesignerTesting;

class ColourRow : public Designer {
protected:
    const std::vector<std::string>& Lines() const { return D->InspectorPane().Description().Lines(); }
    // The open menu's captions, each without what follows its tab.
    std::vector<std::string> MenuCaptions() const
    {
        std::vector<std::string> Captions;
        const TPopupMenu* Menu = D->Inspector().RowMenu();
        EXPECT_NE(Menu, nullptr) << "no row menu is open";
        if (Menu)
            for (const TMenuItem& Item : Menu->Items)
                Captions.push_back(Item.Caption.substr(0, Item.Caption.find('\t')));
        return Captions;
    }
    // The open menu's item whose caption starts with Start, or nullptr.
    const TMenuItem* MenuItem(const std::string& Start) const
    {
        const TPopupMenu* Menu = D->Inspector().RowMenu();
        if (Menu)
            for (const TMenuItem& Item : Menu->Items)
                if (Item.Caption.starts_with(Start)) return &Item;
        return nullptr;
    }
    // "click Preview X Y" on the point of the page at (X, Y), scrolled as it is now.
    std::string ClickPage(TPoint P, const char* Verb = "click") const
    {
        const TPoint C = D->Preview().ClientPoint(P);
        return std::string(Verb) + " Preview " + std::to_string(C.X) + " " + std::to_string(C.Y) + "\n";
    }
    // A point of the page within Area at the centre of a 7 x 7 square of one colour, as
    // the page alone draws it (no selection, no simulation); Colour set to it.
    TPoint SolidPoint(const TRect& Area, TColor& Colour) const
    {
        const TBitmap Picture = PagePicture(D->Document().Page());
        for (int Y = Area.Top + 3; Y < Area.Bottom - 3; ++Y)
            for (int X = Area.Left + 3; X < Area.Right - 3; ++X) {
                bool Solid = true;
                for (int DY = -3; DY <= 3 && Solid; ++DY)
                    for (int DX = -3; DX <= 3 && Solid; ++DX)
                        Solid = Picture.Pixel(X + DX, Y + DY) == Picture.Pixel(X, Y);
                if (Solid) {
                    Colour = Picture.Pixel(X, Y);
                    return {X, Y};
                }
            }
        ADD_FAILURE() << "no solid area";
        return {};
    }
    // How many properties of the page hold Colour, by the page's own colours.
    int Uses(TColor Colour) const
    {
        for (const TPageColour& C : PageColours(D->Document().Page()))
            if (C.Value == Colour) return C.Uses;
        return 0;
    }
};

TEST_F(ColourRow, TheDescriptionShowsTheCssFormsAndTheMenuCopiesThem)
{
    Run("pick ButtonOrder\n");
    Run(ClickRow("Appearance.TextColor"));
    ASSERT_GE(Lines().size(), 3u);
    EXPECT_EQ(Lines()[2], "White = #FFFFFF, rgb(255, 255, 255)");
    // A toolkit colour as it is drawn: the shadow's code resolved.
    Run(ClickRow("Appearance.ShadowColor"));
    const TColor Shadow = ColorToRGB(clBtnShadow);
    char Hex[8];
    std::snprintf(Hex, sizeof Hex, "#%02X%02X%02X", Shadow & 0xFF, (Shadow >> 8) & 0xFF, (Shadow >> 16) & 0xFF);
    EXPECT_EQ(Lines()[2], "clBtnShadow = " + std::string(Hex) + ", rgb(" + std::to_string(Shadow & 0xFF) + ", " +
                              std::to_string((Shadow >> 8) & 0xFF) + ", " + std::to_string((Shadow >> 16) & 0xFF) +
                              ")");

    Application->BackEnd().SetClipboardText("");
    Run("key Shift+F10\nmenu \"Copy as #RRGGBB\"\n");
    EXPECT_EQ(Application->BackEnd().ClipboardText(), Hex);
    EXPECT_EQ(D->Status().Action(), std::string("Copied ") + Hex);
    EXPECT_FALSE(D->Document().IsModified());

    // A row that is no colour adds nothing to the menu.
    Run(ClickRow("Left") + "key Shift+F10\n");
    const std::vector<std::string> Plain = MenuCaptions();
    EXPECT_EQ(std::count(Plain.begin(), Plain.end(), "Copy as #RRGGBB"), 0);
    Run("key Escape\n");
}

// White on SeaGreen fails: the menu offers both sides, each a colour that passes, the
// nearer first; choosing either sets it as one undo step.
TEST_F(ColourRow, TheMenuOffersEitherFixOfAFailingPair)
{
    Run("pick ButtonOrder\n");
    Run(ClickRow("Appearance.TextColor") + "key Shift+F10\n");
    const TMenuItem* Background = MenuItem("Fix the background: ");
    const TMenuItem* Foreground = MenuItem("Fix the foreground: ");
    ASSERT_NE(Background, nullptr);
    ASSERT_NE(Foreground, nullptr);
    const auto Value = [](const TMenuItem& Item, const char* Start) {
        const std::string Text = Item.Caption.substr(std::strlen(Start));
        return Text.substr(0, Text.find('\t'));
    };
    const std::string Green = Value(*Background, "Fix the background: ");
    const std::string Dark = Value(*Foreground, "Fix the foreground: ");
    const std::vector<std::string> Captions = MenuCaptions();
    EXPECT_LT(std::find(Captions.begin(), Captions.end(), "Fix the background: " + Green),
              std::find(Captions.begin(), Captions.end(), "Fix the foreground: " + Dark))
        << "the nearer first";
    const TColor White = Web("White"), SeaGreen = Web("SeaGreen");
    const double Required = RequiredRatio(TContrastKind::Text, TContrastLevel::AA);
    EXPECT_TRUE(ContrastPasses(ContrastRatio(White, StringToIWColor(Green)), Required)) << Green;
    EXPECT_TRUE(ContrastPasses(ContrastRatio(StringToIWColor(Dark), SeaGreen), Required)) << Dark;
    const auto Distance = [](TColor A, TColor B) { return DeltaE2000(ColourToLab(A), ColourToLab(B)); };
    EXPECT_LT(Distance(SeaGreen, StringToIWColor(Green)), Distance(White, StringToIWColor(Dark)));

    Run("menu \"Fix the foreground: " + Dark + "\"\n");
    EXPECT_EQ(IWColorToString(Button().TextColor), Dark);
    EXPECT_EQ(Button().BackgroundColor, SeaGreen);
    Run("key Ctrl+Z\n");
    Run(ClickRow("Appearance.TextColor") + "key Shift+F10\nmenu \"Fix the background: " + Green + "\"\n");
    EXPECT_EQ(Button().TextColor, White);
    EXPECT_EQ(IWColorToString(Button().BackgroundColor), Green);
    Run("key Ctrl+Z\n");
    EXPECT_EQ(Button().BackgroundColor, SeaGreen) << "one undo step";
    EXPECT_FALSE(D->Document().IsModified());
}

// The switch's thumb fails on both its on and its off colour: the menu offers the fixes
// of each pair under the colour it is drawn on, and each sets that pair's colour.
TEST_F(ColourRow, TheMenuOffersTheFixesOfEveryFailingPair)
{
    Run("pick OnOffToasted\n");
    Run(ClickRow("Appearance.ThumbColor") + "key Shift+F10\n");
    const std::vector<std::string> Captions = MenuCaptions();
    const auto At = [&](const std::string& Caption) {
        return std::find(Captions.begin(), Captions.end(), Caption) - Captions.begin();
    };
    const auto On = At("On Appearance.OnColor"), Off = At("On Appearance.OffColor");
    ASSERT_LT(On, std::ssize(Captions));
    ASSERT_LT(Off, std::ssize(Captions));
    // Each heading followed by its pair's two sides.
    for (const auto Heading : {On, Off}) {
        ASSERT_LT(Heading + 2, std::ssize(Captions));
        std::vector<std::string> Sides{Captions[Heading + 1].substr(0, 17), Captions[Heading + 2].substr(0, 17)};
        std::sort(Sides.begin(), Sides.end());
        EXPECT_EQ(Sides, (std::vector<std::string>{"Fix the backgroun", "Fix the foregroun"})) << Heading;
    }
    // The description line offers both pairs' fixes, and Ctrl+K only for the first one's.
    const std::vector<std::string> Offers = [&] {
        std::vector<std::string> Found;
        for (const std::string& Line : Lines())
            if (Line.find("background ") != std::string::npos && Line.find("ΔE") != std::string::npos)
                Found.push_back(Line.substr(0, Line.find(':') + 1));
        return Found;
    }();
    EXPECT_EQ(Offers, (std::vector<std::string>{"  Ctrl+K:", "  fix:"}));
    // The off colour's fix, from the second pair.
    std::string Fix;
    for (auto I = Off + 1; I <= Off + 2; ++I)
        if (Captions[I].starts_with("Fix the background: ")) Fix = Captions[I].substr(20);
    ASSERT_FALSE(Fix.empty());
    const auto& Switch = Find<TQellOnOffButton>("OnOffToasted");
    const TIWColor Thumb = Switch.Appearance.ThumbColor, OnColour = Switch.Appearance.OnColor;
    Run("menu \"Fix the background: " + Fix + "\"\n");
    EXPECT_EQ(IWColorToString(Switch.Appearance.OffColor), Fix);
    EXPECT_EQ(Switch.Appearance.ThumbColor, Thumb);
    EXPECT_EQ(Switch.Appearance.OnColor, OnColour);
    const double Required = RequiredRatio(TContrastKind::Part, TContrastLevel::AA);
    EXPECT_TRUE(ContrastPasses(ContrastRatio(ColorToRGB(Thumb), ColorToRGB(StringToIWColor(Fix))), Required));
}

// The eyedropper on the button's solid green, with a simulation showing: the row gets
// the green as the page draws it, as one undo step.
TEST_F(ColourRow, PickFromThePageSetsTheColourOfThePixelAsOneStep)
{
    const TQellButton& Order = Find("ButtonOrder");
    TColor Solid = 0;
    const TPoint P = SolidPoint(Bounds(Order.Left, Order.Top, Order.Width, Order.Height), Solid);
    ASSERT_EQ(Solid, ColorToRGB(Web("SeaGreen")));
    Run("key F8\npick ButtonOrder\n");
    Run(ClickRow("Appearance.TextColor") + "key Shift+F10\nmenu \"Pick from the page\"\n");
    ASSERT_NE(D->Simulation(), TVisionDeficiency::None);
    EXPECT_EQ(D->Document().Picking().RowPath, "Appearance.TextColor");
    const TPoint C = D->Preview().ClientPoint(P);
    EXPECT_EQ(D->Preview().CursorAt(C.X, C.Y), crCross);
    EXPECT_EQ(D->Preview().CursorAt(2, 2), crDefault) << "off the page";
    Run(ClickPage(P));
    EXPECT_EQ(Button().TextColor, Web("SeaGreen")) << "the page's own colour, not the simulated one";
    EXPECT_TRUE(D->Document().Picking().RowPath.empty());
    EXPECT_EQ(D->Status().Action(), "Changed Appearance.TextColor");
    EXPECT_TRUE(D->Document().IsSelected(&Order)) << "the click picked and selected nothing";
    Run("key Ctrl+Z\n");
    EXPECT_EQ(Button().TextColor, Web("White"));
    EXPECT_FALSE(D->Document().IsModified()) << "one undo step";

    // Ctrl+E on the page's own colour, picked from the page's empty area.
    const TQellPage& Page = D->Document().Page();
    TColor Face = 0;
    const TPoint Empty = SolidPoint(Rect(Order.Left + Order.Width, Order.Top, Order.Left + Order.Width + 20,
                                         Order.Top + Order.Height),
                                    Face);
    ASSERT_EQ(Face, ColorToRGB(Page.Color));
    Run("key Ctrl+E\n" + ClickPage(Empty));
    EXPECT_EQ(Button().TextColor, ColorToRGB(clBtnFace));
}

// With two labels selected, the pick sets the row of both, as one undo step.
TEST_F(ColourRow, PickFromThePageSetsEverySelectedObject)
{
    const TQellButton& Order = Find("ButtonOrder");
    TColor Solid = 0;
    const TPoint P = SolidPoint(Bounds(Order.Left, Order.Top, Order.Width, Order.Height), Solid);
    const TQellLabel &Title = Find<TQellLabel>("LabelTitle"), &Languages = Find<TQellLabel>("LabelLanguages");
    const TColor TitleWas = Title.TextColor, LanguagesWas = Languages.TextColor;
    Run("pick LabelTitle\npick LabelLanguages ctrl\n");
    ASSERT_EQ(D->Document().Selection().size(), 2u);
    Run(ClickRow("TextColor") + "key Shift+F10\n");
    const TMenuItem* Pick = MenuItem("Pick from the page");
    ASSERT_NE(Pick, nullptr);
    EXPECT_TRUE(Pick->Enabled);
    Run("key Escape\nkey Ctrl+E\n" + ClickPage(P));
    EXPECT_EQ(Title.TextColor, Web("SeaGreen"));
    EXPECT_EQ(Languages.TextColor, Web("SeaGreen"));
    EXPECT_EQ(D->Document().Selection().size(), 2u) << "the click picked and selected nothing";
    Run("key Ctrl+Z\n");
    EXPECT_EQ(Title.TextColor, TitleWas);
    EXPECT_EQ(Languages.TextColor, LanguagesWas);
    EXPECT_FALSE(D->Document().IsModified()) << "one undo step";
}

TEST_F(ColourRow, EscapeOrARightClickCancelsThePick)
{
    const TQellButton& Order = Find("ButtonOrder");
    TColor Solid = 0;
    const TPoint P = SolidPoint(Bounds(Order.Left, Order.Top, Order.Width, Order.Height), Solid);
    Run("pick ButtonOrder\n");
    Run(ClickRow("Appearance.TextColor") + "key Ctrl+E\n");
    ASSERT_FALSE(D->Document().Picking().RowPath.empty());
    EXPECT_TRUE(D->Status().Action().starts_with("Click the page to pick Appearance.TextColor"))
        << D->Status().Action();
    Run("key Escape\n");
    EXPECT_TRUE(D->Document().Picking().RowPath.empty());
    EXPECT_EQ(D->Status().Action(), "Picking cancelled");
    Run(ClickPage(P));
    EXPECT_EQ(Button().TextColor, Web("White"));

    // With the focus in the preview too.
    Run("pick ButtonOrder\nkey Ctrl+E\n");
    ASSERT_TRUE(D->Preview().Focused());
    ASSERT_EQ(D->Document().Picking().RowPath, "Appearance.TextColor");
    Run("key Escape\n");
    EXPECT_TRUE(D->Document().Picking().RowPath.empty());

    Run("key Ctrl+E\n" + ClickPage(P, "rclick"));
    EXPECT_TRUE(D->Document().Picking().RowPath.empty());
    EXPECT_FALSE(D->Preview().Menu().IsOpen()) << "the right click only cancelled";
    Run(ClickPage(P));
    EXPECT_EQ(Button().TextColor, Web("White"));
    EXPECT_FALSE(D->Document().IsModified());

    // Another page ends the wait: the row belonged to the page that went.
    Run(ClickRow("Appearance.TextColor") + "key Ctrl+E\n");
    ASSERT_FALSE(D->Document().Picking().RowPath.empty());
    D->Document().SetPage(ReadPageText(SamplePageText()), "");
    EXPECT_TRUE(D->Document().Picking().RowPath.empty());
}

// The page's colours, counted, follow an edit and its undo; choosing one sets the row.
TEST_F(ColourRow, ThePageColoursAreListedWithTheirCounts)
{
    const TColor White = Web("White"), Navy = Web("Navy");
    const int WhiteUses = Uses(White), NavyUses = Uses(Navy);
    ASSERT_GE(WhiteUses, 1);
    ASSERT_GE(NavyUses, 1) << "the title's text";
    const auto Listed = [&](const std::string& Name) -> std::string {
        const TMenuItem* Item = MenuItem(Name + "\t");
        if (!Item) return "not listed";
        EXPECT_EQ(Item->Swatch, ColorToRGB(StringToIWColor(Name))) << Name;
        return Item->Caption.substr(Item->Caption.find('\t') + 1);
    };
    const auto Count = [](int N) { return std::to_string(N) + (N == 1 ? " use" : " uses"); };
    const std::string Open = "key Shift+F10\nmenu \"Colours on the page\"\n";
    Run("pick ButtonOrder\n");
    Run(ClickRow("Appearance.ShadowColor") + Open);
    EXPECT_EQ(Listed("White"), Count(WhiteUses));
    EXPECT_EQ(Listed("Navy"), Count(NavyUses));

    Run("key Escape\n");
    Run(ClickRow("Appearance.TextColor") + "text \"Navy\"\nkey Enter\n" + Open);
    // White, now less used, may fall below the colours the menu has room for.
    EXPECT_EQ(Uses(White), WhiteUses - 1);
    const std::string Less = Listed("White");
    EXPECT_TRUE(Less == "not listed" || Less == Count(WhiteUses - 1)) << Less;
    EXPECT_EQ(Listed("Navy"), Count(NavyUses + 1));
    Run("key Escape\nkey Ctrl+Z\n" + Open);
    EXPECT_EQ(Listed("White"), Count(WhiteUses));
    EXPECT_EQ(Listed("Navy"), Count(NavyUses));

    // Chosen: the row set, one step.
    Run("menu \"Navy\"\n");
    EXPECT_EQ(Button().TextColor, Navy);
    EXPECT_EQ(D->Status().Action(), "Set Appearance.TextColor to Navy");
    Run("key Ctrl+Z\n");
    EXPECT_EQ(Button().TextColor, White);
    EXPECT_FALSE(D->Document().IsModified());
}

} // namespace
