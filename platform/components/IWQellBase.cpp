#include "platform/components/IWQellBase.h"

#include <algorithm>

#include "platform/components/FieldPublisher.h"
#include "platform/components/Painting.h"

namespace {

constexpr const char* ShapeNames[] = {"qsRectangle", "qsRounded", "qsPill"};
constexpr const char* TextAlignNames[] = {"qaLeft", "qaCenter", "qaRight"};

// Room between a track bar's track area and its indicator marks.
constexpr int MarkGap = 2;

void PublishButtonAppearance(TPublisher<TQellButtonAppearance>& P)
{
    using T = TQellButtonAppearance;
    TFieldPublisher<T> F(P);
    F.Field("BackgroundColor", TypeInfoTIWColor, &T::BackgroundColor)
        .Describe("The colour of the button's face, behind its caption.");
    F.Field("BorderColor", TypeInfoTIWColor, &T::BorderColor)
        .Describe("The colour of the frame around the button's face.");
    F.Field("TextColor", TypeInfoTIWColor, &T::TextColor).Describe("The colour of the caption.");
    F.Field("ShadowColor", TypeInfoTIWColor, &T::ShadowColor)
        .Describe("The colour of the shadow below and to the right of the button.");
    F.Field("BorderWidth", TypeInfoInteger, &T::BorderWidth).Range(0, 16)
        .Describe("How many pixels wide the frame is; 0 draws none.");
    F.Field("CornerRadius", TypeInfoInteger, &T::CornerRadius).Range(0, 64)
        .Describe("How round the corners are, in pixels.");
    F.Field("ShadowDepth", TypeInfoInteger, &T::ShadowDepth).Range(0, 16)
        .Describe("How far, in pixels, the shadow reaches out below and to the right.");
    F.Field("TextAlign", TypeInfoTQellTextAlign, &T::TextAlign)
        .Describe("Where the caption sits across the button: left, centre or right.");
}

void PublishOnOffButtonAppearance(TPublisher<TQellOnOffButtonAppearance>& P)
{
    using T = TQellOnOffButtonAppearance;
    TFieldPublisher<T> F(P);
    F.Field("OnColor", TypeInfoTIWColor, &T::OnColor).Describe("The colour of the switch's track while it is on.");
    F.Field("OffColor", TypeInfoTIWColor, &T::OffColor).Describe("The colour of the switch's track while it is off.");
    F.Field("ThumbColor", TypeInfoTIWColor, &T::ThumbColor)
        .Describe("The colour of the thumb that slides from one end to the other.");
    F.Field("BorderColor", TypeInfoTIWColor, &T::BorderColor).Describe("The colour of the frame around the track.");
    F.Field("Shape", TypeInfoTQellShape, &T::Shape)
        .Describe("The shape of the track and the thumb: square, rounded or pill.");
    F.Field("BorderWidth", TypeInfoInteger, &T::BorderWidth).Range(0, 16)
        .Describe("How many pixels wide the frame is; 0 draws none.");
    F.Field("ThumbMargin", TypeInfoInteger, &T::ThumbMargin).Range(0, 16)
        .Describe("The room, in pixels, between the frame and the thumb.");
}

void PublishTrackbarAppearance(TPublisher<TQellTrackbarAppearance>& P)
{
    using T = TQellTrackbarAppearance;
    TFieldPublisher<T> F(P);
    F.Field("TrackColor", TypeInfoTIWColor, &T::TrackColor).Describe("The colour of the track beyond the thumb.");
    F.Field("FillColor", TypeInfoTIWColor, &T::FillColor)
        .Describe("The colour of the track from its start up to the thumb.");
    F.Field("ThumbColor", TypeInfoTIWColor, &T::ThumbColor)
        .Describe("The colour of the thumb that marks the position.");
    F.Field("ThumbBorderColor", TypeInfoTIWColor, &T::ThumbBorderColor).Describe("The colour of the thumb's outline.");
    F.Field("TrackHeight", TypeInfoInteger, &T::TrackHeight).Range(1, 64)
        .Describe("How many pixels high the track is.");
    F.Field("ThumbSize", TypeInfoInteger, &T::ThumbSize).Range(4, 128)
        .Describe("The thumb's width and height, in pixels.");
    F.Field("ThumbShape", TypeInfoTQellShape, &T::ThumbShape)
        .Describe("The shape of the thumb: square, rounded or pill.");
}

void PublishListItemAppearance(TPublisher<TQellListItemAppearance>& P)
{
    using T = TQellListItemAppearance;
    TFieldPublisher<T> F(P);
    F.Field("BackgroundColor", TypeInfoTIWColor, &T::BackgroundColor)
        .Describe("The colour behind the items that are not selected.");
    F.Field("TextColor", TypeInfoTIWColor, &T::TextColor)
        .Describe("The colour of the items' text when they are not selected.");
    F.Field("SelectedColor", TypeInfoTIWColor, &T::SelectedColor).Describe("The colour behind the selected item.");
    F.Field("SelectedTextColor", TypeInfoTIWColor, &T::SelectedTextColor)
        .Describe("The colour of the selected item's text.");
    F.Field("DividerColor", TypeInfoTIWColor, &T::DividerColor).Describe("The colour of the line between items.");
    F.Field("ItemHeight", TypeInfoInteger, &T::ItemHeight).Range(8, 256)
        .Describe("How many pixels high each item's row is.");
    F.Field("TextIndent", TypeInfoInteger, &T::TextIndent).Range(0, 256)
        .Describe("The room, in pixels, between a row's edges and its text.");
    F.Field("ShowDividers", TypeInfoBoolean, &T::ShowDividers)
        .Describe("Whether a line separates one item from the next.");
    F.Field("TextAlign", TypeInfoTQellTextAlign, &T::TextAlign)
        .Describe("Where each item's text sits across its row: left, centre or right.");
}

void PublishIndicator(TPublisher<TQellIndicator>& P)
{
    using T = TQellIndicator;
    TFieldPublisher<T> F(P);
    F.Field("OnColor", TypeInfoTIWColor, &T::OnColor).Describe("The colour of the marks up to the thumb.");
    F.Field("OffColor", TypeInfoTIWColor, &T::OffColor).Describe("The colour of the marks beyond the thumb.");
    F.Field("Visible", TypeInfoBoolean, &T::Visible).Describe("Whether the marks are shown under the track.");
    F.Field("Count", TypeInfoInteger, &T::Count).Range(2, 101)
        .Describe("How many marks are spread evenly from Min to Max.");
    F.Field("Size", TypeInfoInteger, &T::Size).Range(2, 32).Describe("Each mark's width and height, in pixels.");
    F.Field("Shape", TypeInfoTQellShape, &T::Shape).Describe("The shape of each mark: square, rounded or pill.");
}

void PublishSpinnerAppearance(TPublisher<TQellSpinnerAppearance>& P)
{
    using T = TQellSpinnerAppearance;
    TFieldPublisher<T> F(P);
    F.Field("BackgroundColor", TypeInfoTIWColor, &T::BackgroundColor)
        .Describe("The colour behind the slots and in empty rows.");
    F.Field("BorderColor", TypeInfoTIWColor, &T::BorderColor).Describe("The colour of the frame around the spinner.");
    F.Field("HighlightColor", TypeInfoTIWColor, &T::HighlightColor)
        .Describe("The colour of the band behind the selected slot.");
    F.Field("HighlightTextColor", TypeInfoTIWColor, &T::HighlightTextColor)
        .Describe("The colour of the selected slot's caption.");
    F.Field("VisibleSlots", TypeInfoInteger, &T::VisibleSlots).Range(1, 15)
        .Describe("How many rows of slots show, the selected one in the middle.");
    F.Field("SlotHeight", TypeInfoInteger, &T::SlotHeight).Range(8, 128)
        .Describe("How many pixels high each slot's row is.");
    F.Field("BorderWidth", TypeInfoInteger, &T::BorderWidth).Range(0, 16)
        .Describe("How many pixels wide the frame is; 0 draws none.");
    F.Field("CornerRadius", TypeInfoInteger, &T::CornerRadius).Range(0, 64)
        .Describe("How round the corners are, in pixels.");
    F.Field("Wrap", TypeInfoBoolean, &T::Wrap).Describe("Whether the slots go round, the last followed by the first.");
}

void PublishPopupAppearance(TPublisher<TQellPopupAppearance>& P)
{
    using T = TQellPopupAppearance;
    TFieldPublisher<T> F(P);
    F.Field("OverlayColor", TypeInfoTIWColor, &T::OverlayColor)
        .Describe("The colour that covers the page around the popup while it is open.");
    F.Field("BorderColor", TypeInfoTIWColor, &T::BorderColor)
        .Describe("The colour of the frame around the popup's box.");
    F.Field("TitleBarColor", TypeInfoTIWColor, &T::TitleBarColor).Describe("The colour of the title bar.");
    F.Field("TitleTextColor", TypeInfoTIWColor, &T::TitleTextColor)
        .Describe("The colour of the title and of the close cross.");
    F.Field("BodyColor", TypeInfoTIWColor, &T::BodyColor).Describe("The colour of the box below the title bar.");
    F.Field("TitleHeight", TypeInfoInteger, &T::TitleHeight).Range(12, 128)
        .Describe("How many pixels high the title bar is.");
    F.Field("BorderWidth", TypeInfoInteger, &T::BorderWidth).Range(0, 16)
        .Describe("How many pixels wide the frame is; 0 draws none.");
    F.Field("Modal", TypeInfoBoolean, &T::Modal)
        .Describe("Whether the overlay covers the page while the popup is open.");
    F.Field("CloseButton", TypeInfoBoolean, &T::CloseButton)
        .Describe("Whether the title bar shows a cross that closes the popup.");
}

void PublishPage(TPublisher<TQellPage>& P)
{
    using T = TQellPage;
    TFieldPublisher<T> F(P);
    F.Text("Title", &T::Title).Describe("The page's title, which the browser shows in its tab.");
    F.Field("Width", TypeInfoInteger, &T::Width).Range(0, MaxQellExtent).Describe("The page's width in pixels.");
    F.Field("Height", TypeInfoInteger, &T::Height).Range(0, MaxQellExtent).Describe("The page's height in pixels.");
    F.Field("Color", TypeInfoTColor, &T::Color).Describe("The colour of the page behind its components.");
}

// The base publishes the bounds; each component redeclares the size its constructor
// gives it.
void PublishControl(TPublisher<TQellControl>& P)
{
    using T = TQellControl;
    P.Field("Left", TypeInfoInteger, &T::Left, 0).Range(-MaxQellExtent, MaxQellExtent)
        .Describe("The distance, in pixels, from the page's left edge to the component's.");
    P.Field("Top", TypeInfoInteger, &T::Top, 0).Range(-MaxQellExtent, MaxQellExtent)
        .Describe("The distance, in pixels, from the page's top edge to the component's.");
    P.Field("Width", TypeInfoInteger, &T::Width, 0).Range(0, MaxQellExtent)
        .Describe("The component's width in pixels.");
    P.Field("Height", TypeInfoInteger, &T::Height, 0).Range(0, MaxQellExtent)
        .Describe("The component's height in pixels.");
}

void PublishButton(TPublisher<TQellButton>& P)
{
    using T = TQellButton;
    TFieldPublisher<T> F(P);
    F.RedeclareSize();
    F.Text("Caption", &T::Caption).Describe("The text on the button.");
    F.Object("Appearance", TypeInfoTQellButtonAppearance, &T::Appearance)
        .Describe("The button's colours, frame, corners, shadow and text alignment.");
    // The caption on the face.
    F.ContrastPair(TContrastKind::Text, "Appearance.TextColor", "Appearance.BackgroundColor");
}

void PublishOnOffButton(TPublisher<TQellOnOffButton>& P)
{
    using T = TQellOnOffButton;
    TFieldPublisher<T> F(P);
    F.RedeclareSize();
    F.Field("Checked", TypeInfoBoolean, &T::Checked).Describe("Whether the switch is on.");
    F.Object("Appearance", TypeInfoTQellOnOffButtonAppearance, &T::Appearance)
        .Describe("The switch's colours, shape, frame and thumb margin.");
    // The thumb must be seen on the track in either state.
    F.ContrastPair(TContrastKind::Part, "Appearance.ThumbColor", "Appearance.OnColor");
    F.ContrastPair(TContrastKind::Part, "Appearance.ThumbColor", "Appearance.OffColor");
}

void PublishTrackbar(TPublisher<TQellTrackbar>& P)
{
    using T = TQellTrackbar;
    TFieldPublisher<T> F(P);
    F.RedeclareSize();
    F.Field("Min", TypeInfoInteger, &T::Min).Describe("The value at the track's left end.");
    F.Field("Max", TypeInfoInteger, &T::Max).Describe("The value at the track's right end.");
    F.Field("Position", TypeInfoInteger, &T::Position).Describe("The value the thumb marks, from Min to Max.");
    F.Object("Appearance", TypeInfoTQellTrackbarAppearance, &T::Appearance)
        .Describe("The track's and thumb's colours, sizes and shape.");
    F.Object("Indicator", TypeInfoTQellIndicator, &T::Indicator)
        .Describe("The marks under the track that show how far the thumb has come.");
    // The filled part and the marks up to the thumb tell the position; the thumb's outline
    // sets it apart from the track on both sides.
    F.ContrastPair(TContrastKind::Part, "Appearance.FillColor", "Appearance.TrackColor");
    F.ContrastPair(TContrastKind::Part, "Appearance.ThumbBorderColor", "Appearance.FillColor");
    F.ContrastPair(TContrastKind::Part, "Appearance.ThumbBorderColor", "Appearance.TrackColor");
    F.ContrastPair(TContrastKind::Part, "Indicator.OnColor", "Indicator.OffColor");
}

void PublishList(TPublisher<TQellList>& P)
{
    using T = TQellList;
    TFieldPublisher<T> F(P);
    F.RedeclareSize();
    F.Text("Items", &T::Items).Describe("The items' texts, separated by '|'.");
    F.Field("ItemIndex", TypeInfoInteger, &T::ItemIndex).Range(-1, 65535)
        .Describe("The selected item, counted from 0; -1 for none.");
    F.Object("ItemAppearance", TypeInfoTQellListItemAppearance, &T::ItemAppearance)
        .Describe("The items' colours, row height, indent, dividers and alignment.");
    // The rows' text, and the band that marks the selected row.
    F.ContrastPair(TContrastKind::Text, "ItemAppearance.TextColor", "ItemAppearance.BackgroundColor");
    F.ContrastPair(TContrastKind::Text, "ItemAppearance.SelectedTextColor", "ItemAppearance.SelectedColor");
    F.ContrastPair(TContrastKind::Part, "ItemAppearance.SelectedColor", "ItemAppearance.BackgroundColor");
}

void PublishPopup(TPublisher<TQellPopup>& P)
{
    using T = TQellPopup;
    TFieldPublisher<T> F(P);
    F.RedeclareSize();
    F.Text("Title", &T::Title).Describe("The text in the popup's title bar.");
    F.Object("Appearance", TypeInfoTQellPopupAppearance, &T::Appearance)
        .Describe("The popup's colours, title bar, frame, overlay and close button.");
    // The title and close cross on the bar, and the box on the dimmed page.
    F.ContrastPair(TContrastKind::Text, "Appearance.TitleTextColor", "Appearance.TitleBarColor");
    F.ContrastPair(TContrastKind::Part, "Appearance.BodyColor", "Appearance.OverlayColor");
}

void PublishLabel(TPublisher<TQellLabel>& P)
{
    using T = TQellLabel;
    TFieldPublisher<T> F(P);
    F.RedeclareSize();
    F.Text("Caption", &T::Caption).Describe("The text shown.");
    F.Field("TextColor", TypeInfoTIWColor, &T::TextColor)
        .Describe("The colour of the text, drawn on the page's colour.");
    // A label has no background of its own: its text is drawn on the page.
    F.ContrastPair(TContrastKind::Text, "TextColor", "Owner.Color");
}

} // namespace

const TTypeInfo TypeInfoTQellShape = EnumTypeInfo("TQellShape", ShapeNames);
const TTypeInfo TypeInfoTQellTextAlign = EnumTypeInfo("TQellTextAlign", TextAlignNames);

const TTypeInfo TypeInfoTQellButtonAppearance =
    ClassTypeInfo("TQellButtonAppearance", &TQellButtonAppearance::StaticClassInfo);
const TTypeInfo TypeInfoTQellOnOffButtonAppearance =
    ClassTypeInfo("TQellOnOffButtonAppearance", &TQellOnOffButtonAppearance::StaticClassInfo);
const TTypeInfo TypeInfoTQellTrackbarAppearance =
    ClassTypeInfo("TQellTrackbarAppearance", &TQellTrackbarAppearance::StaticClassInfo);
const TTypeInfo TypeInfoTQellListItemAppearance =
    ClassTypeInfo("TQellListItemAppearance", &TQellListItemAppearance::StaticClassInfo);
const TTypeInfo TypeInfoTQellIndicator = ClassTypeInfo("TQellIndicator", &TQellIndicator::StaticClassInfo);
const TTypeInfo TypeInfoTQellSpinnerAppearance =
    ClassTypeInfo("TQellSpinnerAppearance", &TQellSpinnerAppearance::StaticClassInfo);
const TTypeInfo TypeInfoTQellPopupAppearance =
    ClassTypeInfo("TQellPopupAppearance", &TQellPopupAppearance::StaticClassInfo);

QELL_DEFINE_CLASS_INFO(TQellButtonAppearance, PublishButtonAppearance)
QELL_DEFINE_CLASS_INFO(TQellOnOffButtonAppearance, PublishOnOffButtonAppearance)
QELL_DEFINE_CLASS_INFO(TQellTrackbarAppearance, PublishTrackbarAppearance)
QELL_DEFINE_CLASS_INFO(TQellListItemAppearance, PublishListItemAppearance)
QELL_DEFINE_CLASS_INFO(TQellIndicator, PublishIndicator)
QELL_DEFINE_CLASS_INFO(TQellSpinnerAppearance, PublishSpinnerAppearance)
QELL_DEFINE_CLASS_INFO(TQellPopupAppearance, PublishPopupAppearance)
QELL_DEFINE_CLASS_INFO(TQellPage, PublishPage)
QELL_DEFINE_CLASS_INFO(TQellControl, PublishControl)
QELL_DEFINE_CLASS_INFO(TQellButton, PublishButton, true)
QELL_DEFINE_CLASS_INFO(TQellOnOffButton, PublishOnOffButton, true)
QELL_DEFINE_CLASS_INFO(TQellTrackbar, PublishTrackbar, true)
QELL_DEFINE_CLASS_INFO(TQellList, PublishList, true)
QELL_DEFINE_CLASS_INFO(TQellPopup, PublishPopup, true)
QELL_DEFINE_CLASS_INFO(TQellLabel, PublishLabel, true)

TQellControl::TQellControl(TComponent* AOwner, int AWidth, int AHeight)
    : TComponent(AOwner), Width(AWidth), Height(AHeight)
{
}

TQellButton::TQellButton(TComponent* AOwner) : TQellControl(AOwner, 120, 32) {}
TQellOnOffButton::TQellOnOffButton(TComponent* AOwner) : TQellControl(AOwner, 56, 28) {}
TQellTrackbar::TQellTrackbar(TComponent* AOwner) : TQellControl(AOwner, 200, 40) {}
TQellList::TQellList(TComponent* AOwner) : TQellControl(AOwner, 160, 96) {}
TQellPopup::TQellPopup(TComponent* AOwner) : TQellControl(AOwner, 240, 160) {}
TQellLabel::TQellLabel(TComponent* AOwner) : TQellControl(AOwner, 80, 20) {}

void TQellButton::Paint(TCanvas& C) const
{
    const TQellButtonAppearance& A = Appearance;
    // The shadow lies behind the body, which is smaller by the shadow's depth.
    const int Depth = std::min({A.ShadowDepth, Width, Height});
    const TRect Body = Rect(0, 0, Width - Depth, Height - Depth);
    if (Depth > 0) FillRoundRect(C, Rect(Depth, Depth, Width, Height), A.CornerRadius, A.ShadowColor);
    FillFramed(C, Body, A.CornerRadius, A.BorderWidth, A.BorderColor, A.BackgroundColor);
    DrawCaption(C, Inflate(Body, A.BorderWidth + TextPadding), Caption, A.TextColor, A.TextAlign);
}

void TQellOnOffButton::Paint(TCanvas& C) const
{
    const TQellOnOffButtonAppearance& A = Appearance;
    const TRect All = Rect(0, 0, Width, Height);
    FillFramed(C, All, ShapeRadius(A.Shape, All), A.BorderWidth, A.BorderColor, Checked ? A.OnColor : A.OffColor);
    // A square thumb, as large as the inside allows, at the right when on.
    const TRect Inside = Inflate(All, A.BorderWidth + A.ThumbMargin);
    if (Inside.IsEmpty()) return;
    const int Side = std::min(Inside.Width(), Inside.Height());
    const int X = Checked ? Inside.Right - Side : Inside.Left;
    const int Y = Inside.Top + (Inside.Height() - Side) / 2;
    const TRect Thumb = Rect(X, Y, X + Side, Y + Side);
    FillRoundRect(C, Thumb, ShapeRadius(A.Shape, Thumb), A.ThumbColor);
}

void TQellTrackbar::Paint(TCanvas& C) const
{
    const TQellTrackbarAppearance& A = Appearance;
    const int MarksHeight = Indicator.Visible ? Indicator.Size + MarkGap : 0;
    const int TrackArea = std::max(Height - MarksHeight, 0);
    const int CentreY = TrackArea / 2;
    // The thumb's centre runs from X0 to X1, so that the thumb stays inside at both ends.
    const int Side = std::min({A.ThumbSize, TrackArea, Width});
    const int X0 = Side / 2;
    const int X1 = std::max(X0, Width - (Side - Side / 2));
    int64_t Offset = 0;
    if (Max > Min) {
        const int64_t P = std::clamp(Position, Min, Max);
        Offset = (int64_t{X1} - X0) * (P - Min) / (int64_t{Max} - Min);
    }
    const int ThumbX = X0 + static_cast<int>(Offset);

    const int TrackTop = std::max(CentreY - A.TrackHeight / 2, 0);
    const int TrackBottom = std::min(TrackTop + A.TrackHeight, TrackArea);
    C.Brush.Color = A.FillColor;
    C.FillRect(Rect(X0, TrackTop, ThumbX, TrackBottom));
    C.Brush.Color = A.TrackColor;
    C.FillRect(Rect(ThumbX, TrackTop, X1, TrackBottom));

    const TRect Thumb = Bounds(ThumbX - Side / 2, CentreY - Side / 2, Side, Side);
    FillFramed(C, Thumb, ShapeRadius(A.ThumbShape, Thumb), 1, A.ThumbBorderColor, A.ThumbColor);

    if (!Indicator.Visible) return;
    const int S = std::min(Indicator.Size, Width);
    const int MarkTop = TrackArea + MarkGap;
    for (int I = 0; I < Indicator.Count; ++I) {
        const int X = X0 + static_cast<int>((int64_t{X1} - X0) * I / (Indicator.Count - 1));
        const int Left = std::clamp(X - S / 2, 0, Width - S);
        const TRect Mark = Bounds(Left, MarkTop, S, std::min(S, Height - MarkTop));
        const TIWColor Colour = X <= ThumbX ? Indicator.OnColor : Indicator.OffColor;
        FillRoundRect(C, Mark, ShapeRadius(Indicator.Shape, Mark), Colour);
    }
}

std::vector<std::string> TQellList::ItemTexts() const
{
    std::vector<std::string> Texts;
    if (Items.empty()) return Texts;
    size_t Start = 0;
    for (;;) {
        const size_t Bar = Items.find('|', Start);
        Texts.push_back(Items.substr(Start, Bar - Start));
        if (Bar == std::string::npos) return Texts;
        Start = Bar + 1;
    }
}

void TQellList::Paint(TCanvas& C) const
{
    const TQellListItemAppearance& A = ItemAppearance;
    C.Brush.Color = A.BackgroundColor;
    C.FillRect(Rect(0, 0, Width, Height));
    const std::vector<std::string> Texts = ItemTexts();
    const int Divider = A.ShowDividers ? 1 : 0;
    for (int I = 0; I < static_cast<int>(Texts.size()) && I * A.ItemHeight < Height; ++I) {
        const TRect Row = Rect(0, I * A.ItemHeight, Width, std::min((I + 1) * A.ItemHeight, Height));
        const bool Selected = I == ItemIndex;
        if (Selected) {
            C.Brush.Color = A.SelectedColor;
            C.FillRect(Row);
        }
        const TRect TextBox = Rect(Row.Left + A.TextIndent, Row.Top, Row.Right - A.TextIndent, Row.Bottom - Divider);
        DrawCaption(C, TextBox, Texts[static_cast<size_t>(I)], Selected ? A.SelectedTextColor : A.TextColor,
                    A.TextAlign);
        if (Divider) {
            C.Brush.Color = A.DividerColor;
            C.FillRect(Rect(Row.Left, Row.Bottom - 1, Row.Right, Row.Bottom));
        }
    }
}

void TQellPopup::Paint(TCanvas& C) const
{
    const TQellPopupAppearance& A = Appearance;
    const TRect All = Rect(0, 0, Width, Height);
    if (A.Modal) {
        C.Brush.Color = A.OverlayColor;
        C.FillRect(All);
    }
    // The box keeps an eighth of the shorter side clear all round, where the overlay shows.
    const TRect Box = Inflate(All, std::min(Width, Height) / 8);
    FillFramed(C, Box, 0, A.BorderWidth, A.BorderColor, A.BodyColor);
    const TRect Inside = Inflate(Box, A.BorderWidth);
    if (Inside.IsEmpty()) return;
    const TRect Bar = Rect(Inside.Left, Inside.Top, Inside.Right, std::min(Inside.Top + A.TitleHeight, Inside.Bottom));
    C.Brush.Color = A.TitleBarColor;
    C.FillRect(Bar);

    int TextRight = Bar.Right - TextPadding;
    if (A.CloseButton && Bar.Height() >= 6 && Bar.Width() >= Bar.Height()) {
        // A cross in the square at the bar's right end, a third of the bar high.
        const int H = Bar.Height() / 6, CX = Bar.Right - Bar.Height() / 2, CY = Bar.Top + Bar.Height() / 2;
        C.Pen.Color = A.TitleTextColor;
        C.Pen.Mode = pmCopy;
        C.MoveTo(CX - H, CY - H);
        C.LineTo(CX + H + 1, CY + H + 1);
        C.MoveTo(CX + H, CY - H);
        C.LineTo(CX - H - 1, CY + H + 1);
        TextRight = Bar.Right - Bar.Height();
    }
    DrawCaption(C, Rect(Bar.Left + TextPadding, Bar.Top, TextRight, Bar.Bottom), Title, A.TitleTextColor, qaLeft);
}

void TQellLabel::Paint(TCanvas& C) const
{
    DrawCaption(C, Rect(0, 0, Width, Height), Caption, TextColor, qaLeft);
}
