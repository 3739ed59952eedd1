#include "apps/designer/document/PageDocument.h"

#include <unistd.h>

#include <algorithm>

#include "apps/designer/document/Recovery.h"
#include "platform/designide/PropertyPaths.h"
#include "platform/rtl/Files.h"
#include "platform/toolkit/resources/FormReader.h"

namespace {

// The collections that Object publishes, by property name.
std::vector<std::pair<std::string, TCollection*>> CollectionsOf(TPersistent& Object)
{
    std::vector<std::pair<std::string, TCollection*>> Found;
    for (const TPropInfo* P : Object.ClassInfo().AllProperties())
        if (P->PropType->Kind == TTypeKind::Class)
            if (auto* C = dynamic_cast<TCollection*>(GetObjectProp(Object, *P))) Found.emplace_back(P->Name, C);
    return Found;
}

} // namespace

TPageDocument::TPageDocument() : FPage(std::make_unique<TQellPage>(nullptr))
{
    RebuildEntries();
    FSelection = {FPage.get()};
}

TPageDocument::~TPageDocument() = default;

void TPageDocument::AddObserver(IDocumentObserver& Observer)
{
    FObservers.push_back(&Observer);
}

void TPageDocument::RemoveObserver(IDocumentObserver& Observer)
{
    std::erase(FObservers, &Observer);
}

void TPageDocument::Notify(const TDocumentChange& Change)
{
    if (Change.Values || Change.Entries || Change.NewPage) {
        FContrastKnown = false;
        FFindings.clear();
        FProblems.clear();
    }
    // A copy: an observer may remove itself (a form closing) while it is told.
    const std::vector<IDocumentObserver*> Observers = FObservers;
    for (IDocumentObserver* O : Observers)
        if (std::find(FObservers.begin(), FObservers.end(), O) != FObservers.end()) O->DocumentChanged(Change);
}

void TPageDocument::Announce(const std::string& Action)
{
    TDocumentChange Change;
    Change.Action = Action;
    Notify(Change);
}

bool TPageDocument::CommitPendingEdits()
{
    for (IDocumentObserver* O : FObservers)
        if (!O->CommitPendingEdit()) return false;
    return true;
}

// The page and its file ------------------------------------------------------------

void TPageDocument::SetPage(std::unique_ptr<TQellPage> Page, std::string FileName)
{
    FRecovered.clear();
    FSaveError.clear();
    FFileName = std::move(FileName);
    FFileStamp = PageFileStamp(FFileName);
    FHistory.Clear();
    TDocumentChange Change;
    Change.File = true;
    ReplacePage(std::move(Page), std::move(Change));
    Select({FPage.get()});
}

void TPageDocument::ReplacePage(std::unique_ptr<TQellPage> Page, TDocumentChange Change)
{
    std::vector<std::string> Paths;
    for (const TPersistent* Object : FSelection)
        if (const TDocumentEntry* E = EntryOf(Object)) Paths.push_back(E->Path);
    // The views let go of the old page's objects before they are freed.
    FSelection.clear();
    TDocumentChange Letting;
    Letting.Selection = true;
    Notify(Letting);
    FEntries.clear();
    FEntryIndex.clear();
    FPage = std::move(Page);
    RebuildEntries();
    for (const std::string& Path : Paths)
        if (const TDocumentEntry* E = FindEntry(Path)) FSelection.push_back(E->Object);
    if (FSelection.empty()) FSelection.push_back(FPage.get());
    Change.NewPage = Change.Selection = Change.Values = Change.Entries = true;
    // A row waiting for a pick belonged to the page that went.
    Change.Picking = !FPicking.RowPath.empty();
    FPicking = {};
    Notify(Change);
}

void TPageDocument::Open(const std::string& FileName)
{
    std::unique_ptr<TQellPage> Page = LoadPageFile(FileName);
    SetPage(std::move(Page), FileName);
}

void TPageDocument::OpenForWriting(const std::string& FileName)
{
    auto Lock = std::make_unique<TPageFileLock>(FileName);
    Open(FileName);
    FLock = std::move(Lock);
}

bool TPageDocument::ChangedOnDisk() const
{
    return !FFileName.empty() && PageFileStamp(FFileName) != FFileStamp;
}

bool TPageDocument::SaveAs(const std::string& FileName, const std::function<TChangedOnDisk()>& WhenChanged)
{
    try {
        // A command that opened the page for writing holds its lock already.
        const std::unique_ptr<TPageFileLock> Lock =
            FLock && FileName == FFileName ? nullptr : std::make_unique<TPageFileLock>(FileName);
        if (FileName == FFileName && ChangedOnDisk()) {
            switch (WhenChanged ? WhenChanged() : TChangedOnDisk::Overwrite) {
            case TChangedOnDisk::Overwrite: break;
            case TChangedOnDisk::Reload:
                SetPage(LoadPageFile(FileName), FileName);
                Announce("Reloaded " + ExtractFileName(FileName));
                return false;
            case TChangedOnDisk::Cancel: return false;
            }
        }
        SavePageFile(FileName, *FPage);
    } catch (const std::exception& E) {
        FSaveError = E.what();
        throw;
    }
    FSaveError.clear();
    FFileStamp = PageFileStamp(FileName);
    FFileName = FileName;
    FHistory.MarkSaved();
    if (!FRecovered.empty()) unlink(FRecovered.c_str());
    FRecovered.clear();
    TDocumentChange Change;
    Change.File = true;
    Change.Action = "Saved " + ExtractFileName(FileName);
    Notify(Change);
    return true;
}

// The selection --------------------------------------------------------------------

void TPageDocument::RebuildEntries()
{
    FEntries.clear();
    FEntryIndex.clear();
    for (TComponent* C : PageComponents(*FPage)) {
        const int Level = C == FPage.get() ? 0 : 1;
        FEntries.push_back({C, C, C->Name(), Level, C->Name() + ": " + C->ClassName()});
        for (const auto& [Property, Collection] : CollectionsOf(*C))
            for (int I = 0; I < Collection->Count(); ++I) {
                const std::string Item = Property + "[" + std::to_string(I) + "]";
                FEntries.push_back({Collection->Items(I), C, C->Name() + "." + Item, Level + 1,
                                    Item + ": " + Collection->Items(I)->ClassName()});
            }
    }
    FEntryIndex.reserve(FEntries.size());
    FHolders.clear();
    for (size_t I = 0; I < FEntries.size(); ++I) {
        FEntryIndex.emplace(FEntries[I].Object, I);
        AddHolder(*FEntries[I].Object, *FEntries[I].Component);
    }
}

void TPageDocument::AddHolder(TPersistent& Object, TComponent& Component)
{
    if (!FHolders.emplace(&Object, &Component).second) return; // met already: a cycle ends here
    for (const TPropInfo* P : Object.ClassInfo().AllProperties())
        if (P->Kind() == TTypeKind::Class)
            if (TPersistent* Sub = GetObjectProp(Object, *P); Sub && !dynamic_cast<TComponent*>(Sub))
                AddHolder(*Sub, Component);
}

const TDocumentEntry* TPageDocument::FindEntry(std::string_view Path) const
{
    for (const TDocumentEntry& E : FEntries)
        if (SameText(E.Path, Path)) return &E;
    return nullptr;
}

const TDocumentEntry* TPageDocument::EntryOf(const TPersistent* Object) const
{
    const auto It = FEntryIndex.find(Object);
    return It == FEntryIndex.end() ? nullptr : &FEntries[It->second];
}

bool TPageDocument::IsSelected(const TPersistent* Object) const
{
    return std::find(FSelection.begin(), FSelection.end(), Object) != FSelection.end();
}

void TPageDocument::Select(std::vector<TPersistent*> Objects, std::string Row)
{
    FSelection = std::move(Objects);
    TDocumentChange Change;
    Change.Selection = true;
    Change.Row = std::move(Row);
    Notify(Change);
}

void TPageDocument::ToggleSelected(TPersistent* Object)
{
    std::vector<TPersistent*> Objects = FSelection;
    const auto It = std::find(Objects.begin(), Objects.end(), Object);
    if (It == Objects.end()) Objects.push_back(Object);
    else if (Objects.size() > 1) Objects.erase(It);
    Select(std::move(Objects));
}

std::vector<TComponent*> TPageDocument::ComponentsOf(const std::vector<TPropertyChange>& Changes) const
{
    std::vector<TComponent*> Components;
    for (const TPropertyChange& C : Changes) {
        const auto It = FHolders.find(C.Instance);
        if (It != FHolders.end() && std::find(Components.begin(), Components.end(), It->second) == Components.end())
            Components.push_back(It->second);
    }
    return Components;
}

// Edits -----------------------------------------------------------------------------

void TPageDocument::PropertyChanged(const TPropertyChange& Change)
{
    FHistory.Record(Change);
}

void TPageDocument::Modified()
{
    EndEdit("");
}

void TPageDocument::EndEdit(std::string RowPath)
{
    if (const TUndoStep* Step = FHistory.EndStep(RowPath, ComponentsOf(FHistory.Pending())))
        NotifyStep(*Step, nullptr, RowPath.empty() ? std::string() : "Changed " + RowPath);
}

void TPageDocument::NotifyStep(const TUndoStep& Step, const TUndoStep* WrittenBack, std::string Action)
{
    TDocumentChange Change;
    Change.Values = Change.File = true;
    Change.Components = Step.Components;
    Change.Step = WrittenBack;
    // A rename shows in the entries, and so does a structure undone or done again; what
    // left the page leaves the selection.
    if (TUndoHistory::Touches(Step, "Name") || !Step.Structure.empty()) {
        RebuildEntries();
        Change.Entries = true;
        if (std::erase_if(FSelection, [this](const TPersistent* O) { return !EntryOf(O); }) > 0) {
            if (FSelection.empty()) FSelection.push_back(FPage.get());
            Change.Selection = true;
        }
    }
    Change.Action = std::move(Action);
    Notify(Change);
}

TInterfacePtr<TPropertyEditor> TPageDocument::Editor(std::string_view Path, int* Level)
{
    const TPagePath Split = SplitPagePath(*FPage, Path);
    TInterfacePtr<TPropertyEditor> Found = FindPropertyEditor({Split.Component}, this, Split.Property);
    if (!Found)
        throw EPathError("no property " + QuotedInput(Split.Property) + " on " + QuotedInput(Split.Component->Name()));
    if (Level) *Level = PropertyPathLevel(Split.Property);
    return Found;
}

void TPageDocument::Undo()
{
    if (const TUndoStep* Step = FHistory.Undo())
        NotifyStep(*Step, Step, "Undid " + (Step->RowPath.empty() ? std::string("the edit") : Step->RowPath));
}

void TPageDocument::Redo()
{
    if (const TUndoStep* Step = FHistory.Redo())
        NotifyStep(*Step, Step, "Redid " + (Step->RowPath.empty() ? std::string("the edit") : Step->RowPath));
}

// Contrast --------------------------------------------------------------------------

const std::vector<TContrastFinding>& TPageDocument::ContrastFindings() const
{
    if (!FContrastKnown) {
        FFindings = PageContrast(*FPage);
        for (const TContrastFinding& F : FFindings)
            if (!F.Passes(TContrastLevel::AA) && (FProblems.empty() || FProblems.back() != F.Component))
                FProblems.push_back(F.Component);
        FContrastKnown = true;
    }
    return FFindings;
}

const std::vector<const TComponent*>& TPageDocument::ContrastProblems() const
{
    ContrastFindings();
    return FProblems;
}

// Recovery --------------------------------------------------------------------------

std::string TPageDocument::WriteRecovery() const
{
    TRecovery Recovery;
    for (const IDocumentObserver* O : FObservers)
        for (TTypedText& T : O->PendingText()) Recovery.Typed.push_back(std::move(T));
    if (!IsModified() && Recovery.Typed.empty()) return {};
    Recovery.PageText = PageText(*FPage);
    return WriteRecoveryFile(FFileName, Recovery);
}

std::string TPageDocument::RecoveryFile() const
{
    return FindRecoveryFile(FFileName);
}

void TPageDocument::DiscardRecovery()
{
    const std::string Recovered = RecoveryFile();
    if (!Recovered.empty()) unlink(Recovered.c_str());
    FRecovered.clear();
}

std::vector<std::string> TPageDocument::Recover()
{
    const std::string Recovered = RecoveryFile();
    if (Recovered.empty()) return {};
    const TRecovery Recovery = ReadRecoveryFile(Recovered);
    std::unique_ptr<TQellPage> Page;
    try {
        Page = ReadPageText(Recovery.PageText);
    } catch (const EReadError& E) {
        throw EReadError(QuotedFileName(Recovered) + ": " + E.Message());
    }
    // The recovered values over the file's, as one edit that Ctrl+Z takes back; a page
    // of other components replaces the file's, unsaved, without undo.
    std::vector<TPropertyChange> Changes;
    if (DiffPageValues(*FPage, *Page, Changes)) {
        for (const TPropertyChange& C : Changes) {
            SetPropValue(*C.Instance, *C.PropInfo, C.After);
            FHistory.Record(C);
        }
        EndEdit("");
    } else {
        FHistory.Clear();
        FHistory.MarkUnsaved();
        TDocumentChange Change;
        Change.File = true;
        ReplacePage(std::move(Page), std::move(Change));
    }
    // What was typed and not set, set now as it would have been.
    std::vector<std::string> Refused;
    for (const TTypedText& T : Recovery.Typed) {
        try {
            Editor(T.Path)->SetValue(T.Text);
        } catch (const std::exception& E) {
            Refused.push_back("The text typed into " + T.Path + " was not set: " + E.what() + "\nIt was " +
                              QuotedInput(T.Text, 200) + ".");
        }
    }
    FRecovered = Recovered;
    Announce("Recovered the unsaved changes");
    return Refused;
}
