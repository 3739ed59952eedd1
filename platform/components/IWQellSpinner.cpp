#include "platform/components/IWQellSpinner.h"

#include "platform/components/FieldPublisher.h"
#include "platform/components/Painting.h"

namespace {

// Room between a spinner's border and its rows, where the background shows.
constexpr int RowMargin = 2;

void PublishSlot(TPublisher<TQellSpinnerSlot>& P)
{
    using T = TQellSpinnerSlot;
    TFieldPublisher<T> F(P);
    F.Text("Caption", &T::Caption).Describe("The text the slot shows.");
    F.Field("Value", TypeInfoInteger, &T::Value).Describe("What the web page receives when the slot is chosen.");
    F.Text("Hint", &T::Hint).Describe("The text the browser shows over the slot.");
    F.Field("BackgroundColor", TypeInfoTIWColor, &T::BackgroundColor)
        .Describe("The colour behind the slot when it is not the selected one.");
    F.Field("TextColor", TypeInfoTIWColor, &T::TextColor)
        .Describe("The colour of the slot's caption when it is not the selected one.");
    // The slot's caption on its row, when it is not the selected one.
    F.ContrastPair(TContrastKind::Text, "TextColor", "BackgroundColor");
}

void PublishSpinner(TPublisher<TQellSpinner>& P)
{
    using T = TQellSpinner;
    TFieldPublisher<T> F(P);
    F.RedeclareSize();
    F.Object("Slots", TypeInfoTQellSpinnerSlots, &T::Slots)
        .Describe("The slots, in order, each with its caption, value, hint and colours.");
    F.Object("Appearance", TypeInfoTQellSpinnerAppearance, &T::Appearance)
        .Describe("The spinner's colours, frame, corners and how many slots show.");
    F.Field("ItemIndex", TypeInfoInteger, &T::ItemIndex).Range(-1, 65535)
        .Describe("The selected slot, counted from 0; -1 for none.");
    // The selected slot's caption on its band, and the band on the other rows.
    F.ContrastPair(TContrastKind::Text, "Appearance.HighlightTextColor", "Appearance.HighlightColor");
    F.ContrastPair(TContrastKind::Part, "Appearance.HighlightColor", "Appearance.BackgroundColor");
}

} // namespace

const TTypeInfo TypeInfoTQellSpinnerSlots = ClassTypeInfo("TQellSpinnerSlots", &TQellSpinnerSlots::StaticClassInfo);

QELL_DEFINE_CLASS_INFO(TQellSpinnerSlot, PublishSlot)
QELL_DEFINE_CLASS_INFO(TQellSpinnerSlots)
QELL_DEFINE_CLASS_INFO(TQellSpinner, PublishSpinner, true)

TQellSpinner::TQellSpinner(TComponent* AOwner) : TQellControl(AOwner, 120, 72) {}

int TQellSpinner::SlotAt(int Offset) const
{
    const int Count = Slots.Count();
    if (ItemIndex < 0 || ItemIndex >= Count) {
        // Nothing selected: the middle row is empty and the first slot follows it.
        const int Index = Offset - 1;
        return Offset > 0 && Index < Count ? Index : -1;
    }
    const int64_t Index = int64_t{ItemIndex} + Offset;
    if (Appearance.Wrap) return static_cast<int>(((Index % Count) + Count) % Count);
    return Index >= 0 && Index < Count ? static_cast<int>(Index) : -1;
}

void TQellSpinner::Paint(TCanvas& C) const
{
    const TQellSpinnerAppearance& A = Appearance;
    const TRect All = Rect(0, 0, Width, Height);
    FillFramed(C, All, A.CornerRadius, A.BorderWidth, A.BorderColor, A.BackgroundColor);
    const TRect Inside = Inflate(All, A.BorderWidth + RowMargin);
    if (Inside.IsEmpty()) return;
    // The middle row sits in the middle; rows that do not fit are cut off at the margin.
    const int Middle = A.VisibleSlots / 2;
    const int Top = Inside.Top + (Inside.Height() - A.SlotHeight) / 2 - Middle * A.SlotHeight;
    for (int Row = 0; Row < A.VisibleSlots; ++Row) {
        const int RowTop = Top + Row * A.SlotHeight;
        const TRect Box = Intersect(Rect(Inside.Left, RowTop, Inside.Right, RowTop + A.SlotHeight), Inside);
        if (Box.IsEmpty()) continue;
        const int Index = SlotAt(Row - Middle);
        const TQellSpinnerSlot* Slot = Index >= 0 ? Slots.Items(Index) : nullptr;
        if (Row == Middle) {
            C.Brush.Color = A.HighlightColor;
            C.FillRect(Box);
            if (Slot) DrawCaption(C, Box, Slot->Caption, A.HighlightTextColor, qaCenter);
        } else if (Slot) {
            C.Brush.Color = Slot->BackgroundColor;
            C.FillRect(Box);
            DrawCaption(C, Box, Slot->Caption, Slot->TextColor, qaCenter);
        }
    }
}
