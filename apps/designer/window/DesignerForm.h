#pragma once
// The designer window: the open page (a document, apps/designer/document/PageDocument.h)
// in panes that observe it (the list of components with their collection items,
// ComponentList.h, over the palette of component classes, Palette.h; the page, where it
// is built, PagePreview.h; the inspector pane of the selection, InspectorPane.h) over a
// status line (StatusLine.h). Splitters between the columns, and above the description
// line, share the room as the user drags them (LayoutSettings.h). The form
// only lays the panes out and maps the keys; opening and saving with their questions are
// in FileActions.h. It edits through the property editors registered when it runs, so a
// loaded package's editors serve their properties here as in any host.
//
// Scripts address the panes as "Components", "Palette", "Preview", "View", "Problems",
// "Filter", "Inspector", "Description" and "Status", and the splitters as
// "ComponentsSplitter", "InspectorSplitter" and "DescriptionSplitter".

#include <memory>

#include "apps/designer/document/PageDocument.h"
#include "apps/designer/window/ComponentList.h"
#include "apps/designer/window/InspectorPane.h"
#include "apps/designer/window/LayoutSettings.h"
#include "apps/designer/window/PagePreview.h"
#include "apps/designer/window/Palette.h"
#include "apps/designer/window/ProblemList.h"
#include "apps/designer/window/StatusLine.h"
#include "platform/toolkit/Button.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/PopupMenu.h"
#include "platform/toolkit/Splitter.h"

class TDesignerForm : public TForm, private IDocumentObserver {
    QELL_CLASS(TDesignerForm, TForm)
    static constexpr int Gap = 8, HeaderHeight = 20, StatusHeight = TStatusBar::DefaultHeight, ViewButtonWidth = 64;
    // The narrowest the columns get, however the splitters or the window go.
    static constexpr int MinListWidth = 120, MinPreviewWidth = 160, MinInspectorWidth = 200;
    // The list of contrast problems, below the preview while it shows.
    static constexpr int ProblemsHeight = 110;
    // The window's size at first, and the smallest it may be given.
    static constexpr int DefaultWidth = 1216, DefaultHeight = 540, MinWidth = 800, MinHeight = 480;
    explicit TDesignerForm(TComponent* AOwner);
    ~TDesignerForm() override;

    TPageDocument& Document() const { return *FDocument; }
    TPropertyInspector& Inspector() const { return FInspectorPane->Inspector(); }
    TInspectorPane& InspectorPane() const { return *FInspectorPane; }
    TPagePreview& Preview() const { return *FPreview; }
    TComponentList& List() const { return *FList; }
    TProblemList& Problems() const { return *FProblems; }
    TPalette& Palette() const { return *FPalette; }
    TStatusLine& Status() const { return *FStatus; }

    // The View button above the preview opens a menu of the two below; F7 and F8 do
    // the same from the keyboard.
    // F7: every component with a pair that fails AA marked in the preview, and counted
    // on the status line.
    bool ContrastMarks() const { return FPreview->ContrastMarks(); }
    void SetContrastMarks(bool On);
    // The View menu's "Contrast problems list": the list (ProblemList.h) below the
    // preview, or not.
    bool ProblemsShowing() const { return FProblems->Visible(); }
    void SetProblemsShowing(bool On);
    // F8 steps through them: the preview as a person with the deficiency sees it.
    TVisionDeficiency Simulation() const { return FPreview->Simulation(); }
    void SetSimulation(TVisionDeficiency Deficiency);

    // The sizes the user gave the panes, kept for the session: the list's and the
    // inspector's widths as dragged (the window fits them to its width: FitSpans, the
    // page taking the rest), the inspector's name column, the description line's height.
    TPaneSizes PaneSizes() const;
    // Gives the panes Sizes (from the layout file, say), each no smaller than its
    // minimum, and lays them out.
    void SetPaneSizes(const TPaneSizes& Sizes);

    // Unsaved changes ask Save / Discard / Cancel.
    bool CloseQuery() override;
    // Ctrl+N, Ctrl+O, Ctrl+S, Ctrl+Z, Ctrl+Y (and Ctrl+Shift+Z), Ctrl+F, Ctrl+K, Ctrl+E
    // (and Escape while a colour waits for a pick), F7, F8; F1 the keys (HelpForms.h).
    bool DialogKey(TKey Key, TShiftState Shift) override;

protected:
    void Resized() override;

private:
    void DocumentChanged(const TDocumentChange& Change) override;
    // A splitter of the columns was dragged: the pane beside it takes the new width, the
    // one across the page keeps the width it has now, so the bar stays under the pointer.
    void SplitterMoved(const TSplitter& Splitter);
    void UpdateCaption();
    void OpenViewMenu();
    // Ctrl+Z: typed text is undone first, the value again; then the page's last edit.
    void Undo();
    // Ctrl+Y: typed text is an edit of its own, after which nothing is left to redo.
    void Redo();

    std::unique_ptr<TPageDocument> FDocument;
    TLabel* FListHeader;
    TLabel* FPaletteHeader;
    TPalette* FPalette;
    TLabel* FPreviewHeader;
    TButton* FViewButton;
    TPopupMenu* FViewMenu;
    TComponentList* FList;
    TPagePreview* FPreview;
    TLabel* FProblemsHeader;
    TProblemList* FProblems;
    std::unique_ptr<TInspectorPane> FInspectorPane;
    TSplitter* FListSplitter;      // between the list and the page
    TSplitter* FInspectorSplitter; // between the page and the inspector
    int FListWidth = TPaneSizes::DefaultListWidth, FInspectorWidth = TPaneSizes::DefaultInspectorWidth; // as wanted
    TStatusLine* FStatus;
};

// The designer's script verbs (the preview's "pick"); registered when the program
// starts, before a script is read.
void RegisterDesignerScriptVerbs();
