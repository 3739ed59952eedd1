#pragma once
// The hint over a component that the preview's contrast marks frame (F7): each of its
// pairs that fails AA, with its ratio and the ratio it needs (FailureLines,
// ContrastTexts.h), shown below the pointer while it rests on the component.

#include "platform/rtl/Classes.h"
#include "platform/toolkit/HintWindow.h"

class TContrastHint {
public:
    // The hint window is Owner's, and shows on Owner's form.
    explicit TContrastHint(TControl& Owner);

    // The pointer rests at (X, Y) of Owner over Component (nullptr: over none, or the
    // marks are off): the hint names the component's failing pairs, or goes when it has
    // none. Its text is worked out again only when the component under the pointer
    // changes, so resting costs nothing however large the page.
    void PointAt(TComponent* Component, int X, int Y);
    // Hides the hint; the next PointAt works its text out afresh (after an edit, say).
    void Hide();
    // The hint showing; nullptr when none is.
    const THintWindow* Shown() const { return FHint && FHint->Visible() ? FHint : nullptr; }

private:
    TControl& FOwner;
    THintWindow* FHint = nullptr;
    const TComponent* FFor = nullptr; // what the hint was last worked out for
};
