#pragma once
// The line at the designer's foot: the keys that apply on the left, where users look
// for them, and on the right what the designer last did ("Saved page.txt", "Reset
// Appearance.TextColor") and, while contrast problems are marked, how many components
// have one.

#include <string>

#include "apps/designer/document/PageDocument.h"
#include "platform/toolkit/StatusBar.h"

// Shows the action each change of the document names, and while counting, the
// document's contrast problems after each change.
class TStatusLine : public TStatusBar, private IDocumentObserver {
    QELL_CLASS(TStatusLine, TStatusBar)
    static constexpr char Keys[] = "Ctrl+N new   Ctrl+O open   Ctrl+S save   Ctrl+Z undo   Ctrl+F filter   F1 keys";
    // Owned by Parent, and shown at its foot.
    TStatusLine(TWinControl& Parent, TPageDocument& Document);
    ~TStatusLine() override;

    const std::string& Action() const { return FAction; }
    void SetAction(const std::string& Action);
    // Whether the components with a failing pair are counted.
    void SetCountProblems(bool On);
    // The count of components with a failing pair; -1 while none are counted.
    int Problems() const { return FProblems; }
    // "3 contrast problems", "1 contrast problem", "no contrast problems"; empty at -1.
    std::string ProblemsText() const;

protected:
    void Paint(TCanvas& C) override;

private:
    void DocumentChanged(const TDocumentChange& Change) override;
    void SetProblems(int Count);
    TPageDocument& FDocument;
    bool FCounting = false;
    std::string FAction;
    int FProblems = -1;
};
