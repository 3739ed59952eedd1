#pragma once
// The designer window: a page of components in three panes (the list of components
// with their collection items, ComponentList.h; a preview of the page in its colours,
// PagePreview.h; the inspector pane of the selection, InspectorPane.h) over a status
// line (StatusLine.h), with open, save, undo and redo. It edits through the property
// editors registered when it runs, so a loaded package's editors serve their properties
// here as in any host. Its questions are in Prompts.h.
//
// Scripts address the panes as "Components", "Preview", "Filter", "Inspector" and
// "Status"; the verb "pick NAME [ctrl]" clicks a component of the page in the preview.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "apps/designer/document/PageFile.h"
#include "apps/designer/document/UndoHistory.h"
#include "apps/designer/window/ComponentList.h"
#include "apps/designer/window/InspectorPane.h"
#include "apps/designer/window/PagePreview.h"
#include "apps/designer/window/StatusLine.h"
#include "platform/toolkit/Button.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/PopupMenu.h"

class TDesignerForm : public TForm, public IDesigner {
    QELL_CLASS(TDesignerForm, TForm)
    static constexpr int ListWidth = 220, InspectorWidth = 300, Gap = 8, HeaderHeight = 20,
                         StatusHeight = TStatusBar::DefaultHeight, ViewButtonWidth = 64;
    // The window's size at first, and the smallest it may be given.
    static constexpr int DefaultWidth = 1216, DefaultHeight = 540, MinWidth = 800, MinHeight = 480;
    static constexpr size_t MaxUndoSteps = 1000;
    explicit TDesignerForm(TComponent* AOwner);
    ~TDesignerForm() override;

    // One line of the component list: an object the designer can select.
    struct TEntry {
        TPersistent* Object;
        TComponent* Component; // the page's component that holds it (itself, or a slot's owner)
        std::string Path;      // "SpinnerFilling.Slots[0]": how it is found again after a reload
        int Level;
        std::string Line;      // as the list shows it: "SpinnerFilling: TQellSpinner", "Slots[0]: TQellSlot"
    };

    TQellPage& Page() const { return *FPage; }
    // The file the page comes from and is saved to; empty for a page not saved yet.
    const std::string& FileName() const { return FFileName; }
    // Shows Page, as read from FileName (empty: not saved yet), as it is on disk: no
    // undo steps, not modified.
    void SetPage(std::unique_ptr<TQellPage> Page, std::string FileName);
    // Reads FileName and shows it. A file that cannot be read or is no page is refused
    // with a message box naming the reason (and the line), the page shown as it was.
    bool OpenFile(const std::string& FileName);
    // Writes the page to its file (asking for a name when it has none), then it is no
    // longer modified; a failure is shown in a message box and changes nothing. When the
    // file changed on disk since it was read, asks first: Overwrite, Reload (the file's
    // page replaces the edits) or Cancel.
    bool Save();
    bool SaveAs(const std::string& FileName);
    // Ctrl+O: asks whether to save unsaved changes, then for a file name.
    void OpenWithPrompt();
    bool IsModified() const;
    // When the page's file has a recovery file (Recovery.h), asks whether to recover
    // it: Recover shows its text as an unsaved change, Discard deletes it, closing the
    // box leaves it for later.
    void OfferRecovery();
    // Writes unsaved changes to a recovery file and answers its name; empty when there
    // are none. For the program's last moments: shows nothing, raises EInOutError.
    std::string WriteRecovery() const;

    const std::vector<TEntry>& Entries() const { return FEntries; }
    const std::vector<TPersistent*>& Selection() const { return FSelection; }
    bool IsSelected(const TPersistent* Object) const;
    // Selects the objects (entries of the list) and shows them in the inspector.
    void Select(std::vector<TPersistent*> Objects);
    // Ctrl+click: adds Object to the selection, or takes it out (the last one stays).
    void ToggleSelected(TPersistent* Object);
    // The entry whose path is Path (without case), or nullptr.
    const TEntry* FindEntry(std::string_view Path) const;
    // The entry of Object, or nullptr.
    const TEntry* EntryOf(const TPersistent* Object) const;

    bool CanUndo() const { return FHistory.CanUndo(); }
    bool CanRedo() const { return FHistory.CanRedo(); }
    // One edit back or forward: the values it changed written back; the selection and
    // the inspector's scroll position stay, and the row of the property that changed is
    // selected when the inspector shows it.
    void Undo();
    void Redo();

    TPropertyInspector& Inspector() const { return FInspectorPane->Inspector(); }
    TDescriptionLine& Description() const { return FInspectorPane->Description(); }
    TFilterEdit& Filter() const { return FInspectorPane->Filter(); }
    // Ctrl+K (InspectorPane.h).
    bool ApplySuggestion() { return FInspectorPane->ApplySuggestion(); }
    TPagePreview& Preview() const { return *FPreview; }
    TComponentList& List() const { return *FList; }
    TStatusLine& Status() const { return *FStatus; }

    // The View button above the preview opens a menu of the two below; F7 and F8 do
    // the same from the keyboard.
    // F7: every component with a pair that fails AA marked in the preview, and counted
    // on the status line.
    bool ContrastMarks() const { return FPreview->ContrastMarks(); }
    void SetContrastMarks(bool On);
    // F8 steps through them: the preview as a person with the deficiency sees it.
    TVisionDeficiency Simulation() const { return FPreview->Simulation(); }
    void SetSimulation(TVisionDeficiency Deficiency);

    // IDesigner: an edit through an editor is one undo step.
    void PropertyChanged(const TPropertyChange& Change) override;
    void Modified() override;
    // Unsaved changes ask Save / Discard / Cancel.
    bool CloseQuery() override;
    // Ctrl+O, Ctrl+S, Ctrl+Z, Ctrl+Y (and Ctrl+Shift+Z), Ctrl+F, Ctrl+K, F7, F8; F1 the
    // keys (HelpForms.h).
    bool DialogKey(TKey Key, TShiftState Shift) override;

protected:
    void Resized() override;

private:
    // Replaces the page by Page, keeping the selection by path; the inspector lets go of
    // the old objects before they are freed.
    void ReplacePage(std::unique_ptr<TQellPage> Page);
    void RebuildEntries();
    // After an undo or redo: the views again, and the step's row selected.
    void ShowStep(const TUndoStep& Step);
    // The views after the page's values changed: the list when Renamed, the preview and
    // its marks, the caption.
    void ShowValues(bool Renamed);
    // The status line's count of components marked, while marks show.
    void ShowProblemCount();
    void UpdateCaption();
    void OpenViewMenu();
    // Sets what the in-place edit holds, as Enter would; false when it was refused.
    bool CommitPendingEdit();

    std::unique_ptr<TQellPage> FPage;
    std::string FFileName;
    TPageFileStamp FFileStamp; // FFileName as it was read or last written
    std::vector<TEntry> FEntries;
    std::vector<TPersistent*> FSelection;
    TUndoHistory FHistory{MaxUndoSteps};
    TLabel* FListHeader;
    TLabel* FPreviewHeader;
    TButton* FViewButton;
    TPopupMenu* FViewMenu;
    TComponentList* FList;
    TPagePreview* FPreview;
    std::unique_ptr<TInspectorPane> FInspectorPane;
    TStatusLine* FStatus;
};

// The script verb "pick NAME [ctrl]"; registered when the program starts.
void RegisterDesignerScriptVerbs();
