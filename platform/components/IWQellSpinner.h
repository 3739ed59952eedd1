#pragma once
// Unit IWQellSpinner of the runtime component package: a spinner that shows a column
// of slots around the selected one, and its slots.

#include <string>

#include "platform/components/IWQellBase.h"

// One slot of a spinner: an item of its Slots collection.
class QELL_COMPONENTS_API TQellSpinnerSlot : public TCollectionItem {
    QELL_CLASS(TQellSpinnerSlot, TCollectionItem)
    using TCollectionItem::TCollectionItem;
    std::string Caption;
    int Value = 0;    // what the web page receives when the slot is chosen
    std::string Hint; // shown by the browser over the slot
    TIWColor BackgroundColor = clWindow;
    TIWColor TextColor = 0x333333;
};

class QELL_COMPONENTS_API TQellSpinnerSlots : public TCollectionOf<TQellSpinnerSlot> {
    QELL_CLASS(TQellSpinnerSlots, TCollection)
};

extern QELL_COMPONENTS_API const TTypeInfo TypeInfoTQellSpinnerSlots;

// Shows Appearance.VisibleSlots rows of slots with the slot at ItemIndex (from 0; -1
// for none) in the middle, in the highlight colours, and its neighbours above and below
// in their own colours; rows without a slot show the background.
class QELL_COMPONENTS_API TQellSpinner : public TQellControl {
    QELL_CLASS(TQellSpinner, TQellControl)
    explicit TQellSpinner(TComponent* AOwner);
    TQellSpinnerSlots Slots;
    TQellSpinnerAppearance Appearance;
    int ItemIndex = -1;
    // The slot shown Offset rows below the middle one, or -1 for none.
    int SlotAt(int Offset) const;
    void Paint(TCanvas& Canvas) const override;
};
