#pragma once
// The open page as a document: the page and its file, whether it differs from the file,
// the selection, the undo history and the recovery file, with every operation on them.
// The window's panes observe it and call it, and never reach each other; the command
// line and scripts edit through the same operations, so that locking, undo records and
// saving have one implementation each. Used from the GUI thread only.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "apps/designer/document/PageFile.h"
#include "apps/designer/document/Recovery.h"
#include "apps/designer/document/UndoHistory.h"
#include "platform/components/PageContrast.h"
#include "platform/designide/PropertyEditors.h"

// One object the designer can select: a component of the page (the page itself
// included) or an item of one of its collections.
struct TDocumentEntry {
    TPersistent* Object;
    TComponent* Component; // the page's component that holds it (itself, or a slot's owner)
    std::string Path;      // "SpinnerFilling.Slots[0]": how it is found again after a reload
    int Level;             // 0 the page, 1 a component, 2 an item
    std::string Line;      // as a list shows it: "SpinnerFilling: TQellSpinner", "Slots[0]: TQellSlot"
};

// What a change of the document touched, for the views that show it.
struct TDocumentChange {
    bool NewPage = false;   // another page replaced the one shown: everything is new
    bool Selection = false; // the selection changed
    bool Values = false;    // property values changed (an edit, an undo, a redo)
    bool Entries = false;   // the entries changed (a rename, components added or removed)
    bool File = false;      // the file's name or the modified state may have changed
    bool Placing = false;   // the class being placed changed
    bool Picking = false;   // the colour row waiting for a pick from the page changed
    // The page's components whose values changed (with Values).
    std::vector<TComponent*> Components;
    // With Selection: the row the inspector is to show for it ("Appearance.TextColor"),
    // when the selection was made for one; else empty.
    std::string Row;
    // With an undo or redo, the step written back; else nullptr.
    const TUndoStep* Step = nullptr;
    // What happened, in words for a status line ("Saved page.txt"); may be empty.
    std::string Action;
};

class IDocumentObserver {
public:
    virtual void DocumentChanged(const TDocumentChange& Change) = 0;
    // Before an action that would leave text being typed (another selection, a save, an
    // undo): set it. False when it is refused, and then the action is not carried out.
    virtual bool CommitPendingEdit() { return true; }
    // Text typed and not yet set, with the full path of each object's row it is typed
    // into, for a recovery file.
    virtual std::vector<TTypedText> PendingText() const { return {}; }

protected:
    ~IDocumentObserver() = default;
};

// How a save goes on when the file changed on disk since it was read.
enum class TChangedOnDisk { Overwrite, Reload, Cancel };

class TPageDocument : public IDesigner {
public:
    static constexpr size_t MaxUndoSteps = 1000;
    // An empty page without a file.
    TPageDocument();
    ~TPageDocument() override;
    TPageDocument(const TPageDocument&) = delete;
    TPageDocument& operator=(const TPageDocument&) = delete;

    // Observers are told of every change, in the order they were added; they must be
    // removed before they go.
    void AddObserver(IDocumentObserver& Observer);
    void RemoveObserver(IDocumentObserver& Observer);
    // Tells the observers Action without a change of the page (a view's own action).
    void Announce(const std::string& Action);

    // The page and its file ------------------------------------------------------
    TQellPage& Page() const { return *FPage; }
    // The file the page comes from and is saved to; empty for a page not saved yet.
    const std::string& FileName() const { return FFileName; }
    // Whether the page differs from the file (or, without a file, from the empty page).
    bool IsModified() const { return FHistory.IsModified(); }
    // Shows Page as read from FileName (empty: not saved yet): no undo steps, not
    // modified, the page selected.
    void SetPage(std::unique_ptr<TQellPage> Page, std::string FileName);
    // Reads FileName and shows it. Raises EInOutError or EReadError (naming the file and
    // the line) with the document as it was.
    void Open(const std::string& FileName);
    // Open, holding the file's lock (TPageFileLock) until the document goes, for a
    // command that reads the page, changes it and writes it back.
    void OpenForWriting(const std::string& FileName);
    // Writes the page to FileName, under its lock, then the page is no longer modified
    // and a recovery file it was recovered from goes. When FileName is the page's own
    // file and it changed on disk since it was read, WhenChanged decides (none given:
    // Overwrite); Reload shows the file's page instead of the edits. Answers whether the
    // page was written. Raises EInOutError or EWriteError with the file and the document
    // as they were.
    bool SaveAs(const std::string& FileName, const std::function<TChangedOnDisk()>& WhenChanged = {});
    // Why the last save failed; empty when it did not, or one succeeded since.
    const std::string& SaveError() const { return FSaveError; }
    // Whether the page's file changed on disk since it was read or written.
    bool ChangedOnDisk() const;

    // The selection ----------------------------------------------------------------
    // The page's components and their collection items, in file order.
    const std::vector<TDocumentEntry>& Entries() const { return FEntries; }
    // The entry whose path is Path (without case), or nullptr.
    const TDocumentEntry* FindEntry(std::string_view Path) const;
    // The entry of Object, or nullptr.
    const TDocumentEntry* EntryOf(const TPersistent* Object) const;
    const std::vector<TPersistent*>& Selection() const { return FSelection; }
    bool IsSelected(const TPersistent* Object) const;
    // Selects Objects (entries, in the order given: the last is the one that leads); Row,
    // when given, names the inspector row to show for them (TDocumentChange::Row).
    void Select(std::vector<TPersistent*> Objects, std::string Row = {});
    // Adds Object to the selection, or takes it out (the last one stays).
    void ToggleSelected(TPersistent* Object);
    // Asks each observer to set what is being typed; false when one refuses.
    bool CommitPendingEdits();

    // Edits -----------------------------------------------------------------------
    // IDesigner: an editor's changes are recorded, and Modified closes them as one
    // undo step, named by no row.
    void PropertyChanged(const TPropertyChange& Change) override;
    void Modified() override;
    // Closes the changes recorded since the last step as one undo step made on the row
    // at RowPath ("Appearance.TextColor") of the selection, and tells the observers.
    // Nothing when nothing changed.
    void EndEdit(std::string RowPath);
    // The editor of the property at Path ("ButtonOrder.Appearance.TextColor"), reporting
    // to this document, and the row's depth below its component; EPathError when there
    // is no such row.
    TInterfacePtr<TPropertyEditor> Editor(std::string_view Path, int* Level = nullptr);
    bool CanUndo() const { return FHistory.CanUndo(); }
    bool CanRedo() const { return FHistory.CanRedo(); }
    // One step back or forward: its values written back. The selection stays.
    void Undo();
    void Redo();

    // Building the page ------------------------------------------------------------
    // Each operation is one undo step that keeps only what it changed (a component's
    // place in the order and the component itself for an add or a delete, the bounds for
    // a move), and selects what it made; a failure raises, the page as it was.

    // The name a new component of Class gets: the class's name without its leading T and
    // the lowest number from 1 that no component of the page has, without case
    // ("QellButton1").
    std::string NewComponentName(const TClassInfo& Class) const;
    // A new component of Class, named Name (empty: NewComponentName), its top-left at
    // At, of Size (none: the class's default size), last in the order. Raises
    // EComponentError for a class that is no component of a page (or not registered for
    // creation), or a name that is taken or no identifier.
    TQellControl& AddComponent(const TClassInfo& Class, const std::string& Name, TPoint At,
                               std::optional<TPoint> Size = std::nullopt);
    // At, moved on by Step while a component of Class has its top-left exactly there
    // (and within the page's extent): where a new one of Class shows beside those
    // placed the same way, not hidden under one. At itself when Step is none.
    TPoint FreeSpot(const TClassInfo& Class, TPoint At, TPoint Step) const;
    // Removes Components (the page and collection items among them are passed over).
    void DeleteComponents(const std::vector<TComponent*>& Components);
    // Components (the page passed over) as page-file text, in the page's order: what a
    // copy puts on the clipboard, and what PasteComponents reads.
    std::string ComponentsText(const std::vector<TComponent*>& Components) const;
    // Adds the components Text holds (object blocks of components of registered classes,
    // or a whole page's components) after the others, and selects them: each keeps its
    // name where it is free, else takes the lowest free number after its name without
    // its trailing digits ("ButtonOrder1"); each is moved by Offset, and by Offset again
    // while the first would lie exactly where a component of its class lies. Raises
    // EReadError "line N: …" (N a line of Text) with the page as it was.
    std::vector<TComponent*> PasteComponents(std::string_view Text, TPoint Offset);
    // Brings Components to the end of the page's order (drawn last, over the others),
    // or sends them to its start; their own order kept.
    void BringToFront(const std::vector<TComponent*>& Components);
    void SendToBack(const std::vector<TComponent*>& Components);

    // The items of a collection that a component of the page publishes (a spinner's
    // Slots), each operation one undo step that keeps only the item it touched. An item
    // taken out stays alive in the step, so that older steps find it again. A collection
    // that is not one of the page's, or an item out of its collection, raises
    // EComponentError with the page as it was.
    // A new item at the end, selected.
    TCollectionItem& AddCollectionItem(TCollection& Collection);
    // Takes Item out; the item that takes its place is selected, else the one before
    // it, else the component that holds the collection.
    void DeleteCollectionItem(TCollectionItem& Item);
    // Moves Item to To (0 to Count() - 1, else EStringListError), the others keeping their
    // order; the selection stays.
    void MoveCollectionItem(TCollectionItem& Item, int To);

    // Bounds of components in page coordinates.
    struct TBounds {
        TQellControl* Control;
        TRect Rect;
    };
    // Sets the bounds (each kept within the page's limits: sizes from 0 to MaxQellExtent,
    // places within ±MaxQellExtent) as one undo step named Action ("Moved 2
    // components"). With a MergeKey, steps of that key within a second of each other are
    // one (a run of key presses).
    void SetBounds(const std::vector<TBounds>& Bounds, const std::string& Action, const std::string& MergeKey = {});
    // A drag: the bounds change at once and every view shows them, without an undo step
    // until EndLiveBounds makes every change since the first one step; CancelLiveBounds
    // puts them back as they were.
    void SetLiveBounds(const std::vector<TBounds>& Bounds);
    void EndLiveBounds(const std::string& Action);
    void CancelLiveBounds();
    // The clock steps are merged by; tests set one of their own.
    std::function<std::chrono::steady_clock::time_point()> Clock = [] { return std::chrono::steady_clock::now(); };

    // The class the palette armed: the next click in the page places one of it; nullptr
    // for none (the pointer).
    const TClassInfo* PlacingClass() const { return FPlacing; }
    void SetPlacingClass(const TClassInfo* Class);

    // The colour property waiting for a colour picked from the page, as the paths of
    // the objects it is set on (those selected when it began) and the row's path below
    // them (the row path empty: none waits). The preview's next left click on the page
    // gives it the colour of the pixel there (PickColour); Escape or a right click there
    // ends the wait, and so does another page. Each change is told (Picking), with words
    // for a status line.
    struct TColourPick {
        std::vector<std::string> ObjectPaths;
        std::string RowPath;
    };
    const TColourPick& Picking() const { return FPicking; }
    void SetPicking(TColourPick Pick);
    // Ends the wait and sets the waiting property of every object to Color, written as
    // the first one's row writes it, as one undo step named by the row. Nothing when none
    // waits; the wait ends whatever the setting raises (EPathError for an object gone
    // from the page or a row that is no colour, with the page as it was).
    void PickColour(TColor Color);
    // Sets the property at Path ("ButtonOrder.Appearance.TextColor") from Text as its row
    // takes typed text, as one undo step named by the row's path below its component.
    // Raises EPathError when there is no such property, and what the editor raises, with
    // the page as it was.
    void SetPropertyText(std::string_view Path, const std::string& Text);

    // Contrast ---------------------------------------------------------------------
    // Every colour pair of the page with its contrast (PageContrast.h), worked out when
    // first asked after a change, so that edits cost nothing more while no view asks.
    const std::vector<TContrastFinding>& ContrastFindings() const;
    // The components with a pair that fails AA, in file order.
    const std::vector<const TComponent*>& ContrastProblems() const;

    // Recovery ---------------------------------------------------------------------
    // Writes the page with unsaved changes, and text typed but not set, to its recovery
    // file (Recovery.h) and answers the file's name; empty when there is nothing to
    // keep. For the program's last moments: shows nothing, raises EInOutError.
    std::string WriteRecovery() const;
    // The recovery file of the page's file, when there is one; else empty.
    std::string RecoveryFile() const;
    // Applies the recovery file's page over the file's, as one undo step when only
    // values differ, else as an unsaved page without undo; then each typed text through
    // its row's editor, which may refuse it: the answer holds a line for each refusal,
    // naming the row, the reason and the text. The file stays until the page is saved
    // or the recovery discarded. Raises EInOutError or EReadError (naming the recovery
    // file) with the document as it was.
    std::vector<std::string> Recover();
    // Whether the page was recovered and not saved since.
    bool IsRecovered() const { return !FRecovered.empty(); }
    // Deletes the recovery file.
    void DiscardRecovery();

private:
    void Notify(const TDocumentChange& Change);
    // Tells the observers of Step's values, written as an edit or, as WrittenBack, by
    // an undo or redo.
    void NotifyStep(const TUndoStep& Step, const TUndoStep* WrittenBack, std::string Action);
    // Replaces the page, keeping the selection by path.
    void ReplacePage(std::unique_ptr<TQellPage> Page, TDocumentChange Change);
    void RebuildEntries();
    // Records Object, and every sub-object it publishes, as held by Component.
    void AddHolder(TPersistent& Object, TComponent& Component);
    // After a change of the page's structure: the entries again, the selection kept to
    // what is still there (else Select), and the observers told.
    void EndStructureEdit(const std::string& Action, std::vector<TComponent*> Touched,
                          std::vector<TPersistent*> Select);
    // Where Collection is found ("SpinnerFilling.Slots"), for the words of an action;
    // EComponentError when no component of the page publishes it.
    std::string CollectionPath(const TCollection& Collection) const;
    // Makes the bounds changed since the drag began one undo step.
    void EndBounds(const std::string& Action, const std::string& MergeKey);
    // The page's components that hold the objects Changes changed, in the order met.
    std::vector<TComponent*> ComponentsOf(const std::vector<TPropertyChange>& Changes) const;

    std::unique_ptr<TQellPage> FPage;
    std::string FFileName;
    TPageFileStamp FFileStamp; // FFileName as it was read or last written
    std::unique_ptr<TPageFileLock> FLock;
    std::vector<TDocumentEntry> FEntries;
    std::unordered_map<const TPersistent*, size_t> FEntryIndex;
    // Every object of the page with properties (entries, their sub-objects) to the
    // component that holds it.
    std::unordered_map<const TPersistent*, TComponent*> FHolders;
    std::vector<TPersistent*> FSelection;
    TUndoHistory FHistory{MaxUndoSteps};
    std::vector<IDocumentObserver*> FObservers;
    // The bounds of the controls a drag has moved, as they were before it.
    std::vector<TBounds> FLiveFrom;
    const TClassInfo* FPlacing = nullptr;
    TColourPick FPicking;
    std::string FRecovered; // the recovery file the page was recovered from, until saved
    std::string FSaveError;
    mutable bool FContrastKnown = false;
    mutable std::vector<TContrastFinding> FFindings;
    mutable std::vector<const TComponent*> FProblems;
};
