#pragma once
// The designer's inspector pane, top to bottom: a header naming what is selected
// ("ButtonOrder: TQellButton", "3 objects"), the filter box, the property inspector's
// rows, and the description line of the selected row, with a splitter above it.
//
// A colour row's menu adds the colour's own actions (InspectorColours.cpp): Copy as
// #RRGGBB, Pick from the page (Ctrl+E), the colours the page already uses, and the two
// fixes of the first pair the colour fails.
//
// Scripts address its parts as "InspectorLabel", "Filter", "Inspector" and
// "Description", and the splitter as "DescriptionSplitter".

#include <string>
#include <vector>

#include "apps/designer/document/ContrastTexts.h"
#include "apps/designer/document/PageDocument.h"
#include "apps/designer/window/DescriptionLine.h"
#include "apps/designer/window/DesignerEditors.h"
#include "platform/designide/PropertyInspector.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/Splitter.h"

// The filter box: typing filters the inspector's rows by name; Escape empties it, Down
// goes into the rows, on the first whose name matches. It takes at most MaxFilter
// characters: every one typed filters the rows anew, at a cost that grows with the text,
// and no property path comes near that length.
class TFilterEdit : public TEdit {
    QELL_CLASS(TFilterEdit, TEdit)
    static constexpr int MaxFilter = 100;
    TFilterEdit(TComponent* AOwner, TPropertyInspector& Inspector);
    void KeyDown(TKey& Key, TShiftState Shift) override;

private:
    TPropertyInspector& FInspector;
};

// Not a control of its own: its parts are the form's, laid out together. It shows the
// document's selection, and its editors report their edits to the document, each one
// undo step named by the row it was made on; the designer's own editors reach the
// document through it.
class TInspectorPane : private IDocumentObserver, private IDocumentDesigner {
public:
    static constexpr int FilterHeight = TEdit::DefaultHeight, Gap = 4, SplitterHeight = 6;
    // The least the rows (three of them) and the description line (two lines) keep.
    static constexpr int MinRowsHeight = 3 * TPropertyInspector::RowHeight + 2 * TPropertyInspector::Border,
                         MinDescriptionHeight = 2 * TDescriptionLine::LineHeight + 2 * TDescriptionLine::Padding;
    TInspectorPane(TWinControl& Form, TPageDocument& Document);
    ~TInspectorPane();
    TInspectorPane(const TInspectorPane&) = delete;
    TInspectorPane& operator=(const TInspectorPane&) = delete;

    TPropertyInspector& Inspector() const { return *FInspector; }
    TFilterEdit& Filter() const { return *FFilter; }
    TDescriptionLine& Description() const { return *FDescription; }
    // Lays the parts out: the header on the line above Area, the rest inside it, the
    // description line as high as the user dragged its splitter, else as its text needs
    // (DescriptionLine.h), either as far as the rows keep their minimum.
    void SetBounds(const TRect& Area, int HeaderTop);
    // The height the user gave the description line by its splitter; 0 when it has its
    // own, which grows with its text (as at first, and after a double click on the
    // splitter). The user's height wins over the text's: what does not fit scrolls.
    int DescriptionHeight() const { return FDescriptionHeight; }
    // Sets it (0: the line's own; else at least MinDescriptionHeight) and lays out again.
    void SetDescriptionHeight(int Height);
    // Ctrl+F: the filter box, its text selected, once typed text is set.
    void FocusFilter();
    // Ctrl+K: the smaller fix (AA) of the first pair the selected colour row fails, as the
    // description line offers it: the row's colour or the other of the pair changes, and
    // that colour's row is selected where the inspector shows it; one undo step. False
    // when there is nothing to apply.
    bool ApplySuggestion();
    // Ctrl+E: the selected colour row of one selected object waits for a colour picked
    // from the page (TPageDocument::Picking). False when there is no such row, it is
    // read-only, or typed text is refused.
    bool PickFromPage();
    // At most this many of the page's colours are offered, the most used.
    static constexpr size_t MaxPageColours = 24;

private:
    void DocumentChanged(const TDocumentChange& Change) override;
    bool CommitPendingEdit() override;
    std::vector<TTypedText> PendingText() const override;
    void PropertyChanged(const TPropertyChange& Change) override;
    void Modified() override;
    TPageDocument& Document() override { return FDocument; }
    // After an undo or redo: the rows again, and the step's row selected.
    void ShowStep(const TUndoStep& Step);
    // The header for the document's selection.
    void UpdateHeader();
    // What the description line says of the inspector's selected row.
    void UpdateDescription();
    // The entry of the one object selected, or nullptr.
    const TDocumentEntry* SelectedEntry() const;
    // Whether the row's property is a colour (TColor or TIWColor).
    bool IsColourRow(int Row) const;
    // The CSS forms of the colour Row shows, beside its text: "SeaGreen = #2E8B57,
    // rgb(46, 139, 87)"; empty when the row shows no one value.
    std::string CssLine(int Row) const;
    // The items a colour row adds to the row menu; none for any other row.
    std::vector<TMenuItem> ColourItems(int Row);
    // The page's colours, each a choice that sets the selected row to it.
    std::vector<TMenuItem> PageColourItems();
    // Sets the colour at Fix.Path to Fix.Value, through its row where the inspector shows
    // it, as one undo step; false (an error shown) when it cannot. A copy: selecting the
    // row describes it again.
    bool ApplyFix(TFixText Fix);

    TPageDocument& FDocument;
    bool FOwnEdit = false; // the document is being told of an edit made here
    TLabel* FHeader;
    TPropertyInspector* FInspector;
    TFilterEdit* FFilter;
    TDescriptionLine* FDescription;
    TSplitter* FSplitter;
    int FDescriptionHeight = 0;
    TRect FArea;        // where SetBounds last laid the parts out
    int FHeaderTop = 0;
    // Both fixes (AA) of each pair the selected colour row fails, under what the row's
    // colour is drawn on or under ("On Appearance.OnColor"): Ctrl+K applies the first
    // pair's nearer, the row menu offers every one.
    struct TPairFixes {
        std::string Heading;
        TFixTexts Fixes;
    };
    std::vector<TPairFixes> FFixes;
};
