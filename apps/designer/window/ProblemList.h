#pragma once
// The designer's list of contrast problems: every pair of the page that fails AA, one a
// line, in file order, with its component, the pair (the foreground's row "on" the
// background's), the ratio and the ratio required. It follows every edit, as F7's marks
// do, while it shows; hidden it works out nothing.
//
// A click selects the pair's component and its foreground's row in the inspector; a
// double click (or Enter) applies the pair's smaller fix, as Ctrl+K does for the row: one
// undo step. Scripts address it as "Problems".

#include <vector>

#include "apps/designer/document/PageDocument.h"
#include "platform/toolkit/ListBox.h"

class TProblemList : public TListBox, private IDocumentObserver {
    QELL_CLASS(TProblemList, TListBox)
    // Owned by Parent, and shown in it; hidden at first.
    TProblemList(TWinControl& Parent, TPageDocument& Document);
    ~TProblemList() override;

    // Shows the list, worked out anew, or hides it.
    void SetShowing(bool On);
    // The failing pairs listed, item by item.
    const std::vector<TContrastFinding>& Problems() const { return FProblems; }
    // Selects item Index's component and row (a click), or applies its fix (a double
    // click); false when there is no such item or, for the fix, none passes or the
    // editor refused it (an error shown).
    bool ShowProblem(int Index);
    bool FixProblem(int Index);

private:
    void DocumentChanged(const TDocumentChange& Change) override;
    // The problems again from the document's findings, keeping the selected item where
    // its pair is still listed.
    void ShowProblems();
    void DrawProblem(int Index, const TRect& Rect, bool Selected);
    TPageDocument& FDocument;
    std::vector<TContrastFinding> FProblems;
};
