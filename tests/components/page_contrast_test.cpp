// Property metadata declared beside the classes (a description for every published
// property, colour pairs that resolve), the sample page's pairs as `check` reports them,
// and the page painter with its colour-vision recolouring.

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "platform/components/PageContrast.h"
#include "platform/components/PagePainter.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/resources/ClassRegistry.h"
#include "platform/toolkit/resources/FormReader.h"
#include "tests/components/ComponentTesting.h"

namespace {

using namespace comptest;

const char* const ComponentClasses[] = {"TQellButton", "TQellOnOffButton", "TQellTrackbar", "TQellList",
                                        "TQellSpinner", "TQellPopup",       "TQellLabel"};

// A class that declares, beside a contrast pair, a relation that is not one; Broken: a
// contrast relation of no known kind instead of the pair.
template <bool Broken>
class TRelated : public TComponent {
    QELL_CLASS(TRelated, TComponent)
    using TComponent::TComponent;
    TColor Fore = clNavy, Back = clWhite;
};

template <bool Broken>
void PublishRelated(TPublisher<TRelated<Broken>>& P)
{
    using T = TRelated<Broken>;
    P.Field("Fore", TypeInfoTColor, &T::Fore, clNavy).Describe("The text.");
    P.Field("Back", TypeInfoTColor, &T::Back, clWhite).Describe("What the text is drawn on.");
    P.Relate("layout.beside", "Fore", "Back");
    P.Relate(Broken ? "contrast.huge-text" : ContrastRelation(TContrastKind::LargeText), "Fore", "Back");
}

template <bool Broken>
const TClassInfo& TRelated<Broken>::StaticClassInfo()
{
    static const TClassInfo Info = MakeClassInfo<TRelated>("TRelated", PublishRelated<Broken>);
    return Info;
}

std::unique_ptr<TQellPage> SamplePage()
{
    auto Page = std::make_unique<TQellPage>(nullptr);
    ReadComponentRes(*Page, SamplePageText(), {});
    return Page;
}

} // namespace

// Every property of every class a page can hold, and of the toolkit's controls that
// forms hold, says in one sentence what it does.
TEST(PropertyMetadata, EveryPublishedPropertyHasADescription)
{
    RegisterToolkitClasses();
    std::vector<const TClassInfo*> Classes;
    for (const char* Name : {"TQellPage", "TButton", "TLabel", "TEdit", "TListBox", "TTrackBar", "TScrollBar",
                             "TDrawGrid", "TPageControl", "TTabSheet", "TPaintBox", "TStatusBar"}) {
        Classes.push_back(FindClass(Name));
        ASSERT_NE(Classes.back(), nullptr) << Name;
    }
    for (const char* Name : ComponentClasses) Classes.push_back(FindClass(Name));
    Classes.push_back(&TForm::StaticClassInfo());           // forms are read into, never created
    Classes.push_back(&TQellSpinnerSlot::StaticClassInfo()); // a collection's items
    std::vector<const TClassInfo*> Seen;
    while (!Classes.empty()) {
        const TClassInfo* C = Classes.back();
        Classes.pop_back();
        if (std::find(Seen.begin(), Seen.end(), C) != Seen.end()) continue;
        Seen.push_back(C);
        for (const TPropInfo* P : C->AllProperties()) {
            const std::string& D = P->Description;
            EXPECT_TRUE(D.size() > 10 && D.back() == '.' && std::isupper(static_cast<unsigned char>(D[0])))
                << C->Name << "." << P->Name << ": '" << D << "'";
            if (P->Kind() == TTypeKind::Class) Classes.push_back(&P->PropType->ClassType());
        }
    }
    EXPECT_GT(Seen.size(), 25u);
}

// Each declared pair names two colour properties, on every component class, and every
// text colour of the components is a foreground of some pair.
TEST(PropertyMetadata, EveryDeclaredPairResolvesAndEveryTextColourIsJudged)
{
    TQellPage Page(nullptr);
    Page.SetName("Page");
    for (const char* Name : ComponentClasses) {
        std::unique_ptr<TComponent> C(FindClass(Name)->CreateComponent(&Page));
        C->SetName("C");
        if (auto* Spinner = dynamic_cast<TQellSpinner*>(C.get())) Spinner->Slots.Add();
        std::vector<TContrastFinding> Found;
        ASSERT_NO_THROW(Found = ComponentContrast(*C)) << Name;
        EXPECT_FALSE(Found.empty()) << Name;
        ForEachValue(*C, [&](TPersistent&, const TPropInfo& P, const std::string& Path) {
            if (!Path.ends_with("TextColor")) return;
            const bool Judged = std::any_of(Found.begin(), Found.end(),
                                            [&](const TContrastFinding& F) { return F.ForegroundPath == "C." + Path; });
            EXPECT_TRUE(Judged) << Name << "." << Path << " (" << P.Name << ")";
        });
        for (const TContrastFinding& F : Found) {
            EXPECT_EQ(F.Component, C.get());
            for (const TPairColour* Colour : {&F.Foreground, &F.Background}) {
                const TTypeInfo* Type = Colour->Prop->PropType;
                EXPECT_TRUE(Type == &TypeInfoTIWColor || Type == &TypeInfoTColor) << F.ForegroundPath;
                EXPECT_EQ(GetOrdProp(*Colour->Object, *Colour->Prop), Colour->Value) << F.ForegroundPath;
            }
        }
    }
}

// The runtime keeps a class's relations whatever they mean; the contrast checks take
// the pairs among them and refuse a contrast relation of no known kind.
TEST(PageContrast, PairsAreTheContrastRelationsAmongAClasssRelations)
{
    TRelated<false> Related(nullptr);
    Related.SetName("R");
    ASSERT_EQ(Related.ClassInfo().Relations.size(), 2u);
    const std::vector<TContrastFinding> Found = ComponentContrast(Related);
    ASSERT_EQ(Found.size(), 1u);
    EXPECT_EQ(Found[0].Kind, TContrastKind::LargeText);
    EXPECT_EQ(Found[0].ForegroundPath, "R.Fore");
    EXPECT_EQ(Found[0].BackgroundPath, "R.Back");
    EXPECT_EQ(RatioText(Found[0].Ratio), RatioText(ContrastRatio(clNavy, clWhite)));
    EXPECT_EQ(Found[0].Required(TContrastLevel::AA), 3.0);

    TRelated<true> Broken(nullptr);
    EXPECT_THROW(ComponentContrast(Broken), EPropertyError);
}

// The sample page fails where its colours are too close: the values as stored, the
// ratios computed on the colours the canvas draws.
TEST(PageContrast, SamplePageFailsItsKnownPairs)
{
    const std::unique_ptr<TQellPage> Page = SamplePage();
    const std::vector<TContrastFinding> All = PageContrast(*Page);
    std::map<std::string, const TContrastFinding*> ByPair;
    for (const TContrastFinding& F : All) ByPair[F.ForegroundPath + " on " + F.BackgroundPath] = &F;

    const auto Expect = [&](const std::string& Pair, TColor Fg, TColor Bg, const char* Ratio, bool Passes) {
        const auto It = ByPair.find(Pair);
        ASSERT_NE(It, ByPair.end()) << Pair;
        EXPECT_EQ(It->second->Foreground.Value, Fg) << Pair;
        EXPECT_EQ(It->second->Background.Value, Bg) << Pair;
        EXPECT_EQ(RatioText(It->second->Ratio), Ratio) << Pair;
        EXPECT_EQ(It->second->Passes(TContrastLevel::AA), Passes) << Pair;
    };
    Expect("LabelTitle.TextColor on SamplePage.Color", clNavy, clBtnFace, "14.04", true);
    Expect("ButtonOrder.Appearance.TextColor on ButtonOrder.Appearance.BackgroundColor", clWhite, 0x578B2E, "4.24",
           false);
    Expect("PopupConfirm.Appearance.TitleTextColor on PopupConfirm.Appearance.TitleBarColor", clWhite, 0xB48246,
           "4.10", false);
    Expect("SpinnerFilling.Slots[2].TextColor on SpinnerFilling.Slots[2].BackgroundColor", clHighlight,
           0xB0E8F8, "3.67", false);
    Expect("SpinnerFilling.Appearance.HighlightTextColor on SpinnerFilling.Appearance.HighlightColor",
           clHighlightText, clHighlight, "4.49", false);
    Expect("SpinnerFilling.Slots[0].TextColor on SpinnerFilling.Slots[0].BackgroundColor", 0x333333,
           0xCDFAFF, "11.91", true);

    // A part needs 3 at both levels; text 7 at AAA.
    const TContrastFinding& Navy = *ByPair.at("LabelTitle.TextColor on SamplePage.Color");
    EXPECT_EQ(Navy.Required(TContrastLevel::AAA), 7.0);
    EXPECT_TRUE(Navy.Passes(TContrastLevel::AAA));

    // The description line's pairs of one colour: the highlight is a background twice.
    const std::vector<TContrastFinding> OfHighlight =
        PairsOfColour(All, "spinnerfilling.appearance.highlightcolor");
    ASSERT_EQ(OfHighlight.size(), 2u);
    EXPECT_EQ(OfHighlight[0].Kind, TContrastKind::Text);
    EXPECT_EQ(OfHighlight[1].Kind, TContrastKind::Part);
}

// Each failing pair's suggestion passes, or is black or white when nothing of its hue
// does; a passing pair's is its own foreground.
TEST(PageContrast, SuggestionsPass)
{
    const std::unique_ptr<TQellPage> Page = SamplePage();
    for (const TContrastLevel Level : {TContrastLevel::AA, TContrastLevel::AAA})
        for (const TContrastFinding& F : PageContrast(*Page)) {
            const TColor S = F.Suggestion(Level);
            if (F.Passes(Level)) {
                EXPECT_EQ(S, ColorToRGB(F.Foreground.Value)) << F.ForegroundPath;
                continue;
            }
            EXPECT_TRUE(ContrastPasses(ContrastRatio(S, F.Background.Value), F.Required(Level)) || S == clWhite ||
                        S == clBlack)
                << F.ForegroundPath;
        }
}

// The page alone, at its size: its colour where no component is, each component as it
// paints itself; the simulation recolours every pixel as SimulateVision does.
TEST(PagePainter, DrawsThePageAloneAndRecoloursIt)
{
    const std::unique_ptr<TQellPage> Page = SamplePage();
    const TBitmap Picture = PagePicture(*Page);
    ASSERT_EQ(Picture.Width(), 640);
    ASSERT_EQ(Picture.Height(), 480);
    EXPECT_EQ(Picture.Pixel(2, 470), ColorToRGB(clBtnFace));
    const auto* Button = static_cast<const TQellButton*>(Page->FindComponent("ButtonOrder"));
    TBitmap Alone(Button->Width, Button->Height, clBtnFace);
    Button->Paint(*std::make_unique<TCanvas>(&Alone, TPoint{0, 0}, Rect(0, 0, Button->Width, Button->Height)));
    for (int Y = 0; Y < Button->Height; ++Y)
        for (int X = 0; X < Button->Width; ++X)
            ASSERT_EQ(Picture.Pixel(Button->Left + X, Button->Top + Y), Alone.Pixel(X, Y)) << X << "," << Y;

    for (const TVisionDeficiency D : {TVisionDeficiency::None, TVisionDeficiency::Deuteranopia,
                                      TVisionDeficiency::Achromatopsia}) {
        TBitmap Seen = Picture;
        TCanvas Canvas(&Seen, {0, 0}, Rect(0, 0, 320, 480)); // the left half only
        SimulateVisionOn(Canvas, Rect(0, 0, 640, 480), D);
        int Failures = 0;
        for (int Y = 0; Y < 480 && Failures < 5; Y += 3)
            for (int X = 0; X < 640 && Failures < 5; X += 3) {
                const TColor Want = X < 320 ? SimulateVision(Picture.Pixel(X, Y), D) : Picture.Pixel(X, Y);
                if (Seen.Pixel(X, Y) != Want) {
                    ++Failures;
                    ADD_FAILURE() << VisionDeficiencyName(D) << " at " << X << "," << Y;
                }
            }
    }
}
