#include "apps/designer/window/DesignerForm.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>

#include "apps/designer/document/Recovery.h"
#include "apps/designer/window/HelpForms.h"
#include "apps/designer/window/Prompts.h"
#include "platform/components/PageContrast.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/script/EventScript.h"

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

// ---------------------------------------------------------------------------------

QELL_DEFINE_CLASS_INFO(TDesignerForm)

TDesignerForm::TDesignerForm(TComponent* AOwner) : TForm(AOwner), FPage(std::make_unique<TQellPage>(nullptr))
{
    SetName("Designer");
    const auto Header = [this](const char* Name, const char* Caption) {
        auto* L = new TLabel(this);
        L->SetName(Name);
        L->SetParent(this);
        L->SetCaption(Caption);
        return L;
    };
    FListHeader = Header("ComponentsLabel", "Components");
    FPreviewHeader = Header("PreviewLabel", "Page");
    FList = new TComponentList(*this);
    FPreview = new TPagePreview(*this);
    FViewButton = new TButton(this);
    FViewButton->SetName("View");
    FViewButton->SetParent(this);
    FViewButton->SetCaption("View");
    FViewButton->OnClick = [this](TObject*) { OpenViewMenu(); };
    FViewMenu = new TPopupMenu(this);
    FInspectorPane = std::make_unique<TInspectorPane>(*this);
    FStatus = new TStatusLine(this);
    FStatus->SetName("Status");
    FStatus->SetParent(this);
    Inspector().OnAction = [this](const std::string& Action) { FStatus->SetAction(Action); };
    MinClientWidth = MinWidth;
    MinClientHeight = MinHeight;
    SetBounds(0, 0, DefaultWidth, DefaultHeight);
    SetPage(std::make_unique<TQellPage>(nullptr), "");
    AfterConstruction();
}

TDesignerForm::~TDesignerForm()
{
    BeforeDestruction();
    // The inspector's editors hold the page's objects: they go first.
    Inspector().OnSelectRow = nullptr;
    Inspector().OnAction = nullptr;
    Inspector().SetSelection({});
}

void TDesignerForm::Resized()
{
    TForm::Resized();
    const int Top = Gap + HeaderHeight, Bottom = std::max(Top, Height() - StatusHeight - Gap);
    const int H = Bottom - Top, HeaderTop = Gap + 3;
    const int PreviewLeft = 2 * Gap + ListWidth;
    const int InspectorLeft = std::max(PreviewLeft, Width() - Gap - InspectorWidth);
    FListHeader->SetBounds(Gap, HeaderTop, ListWidth, FListHeader->Height());
    FPreviewHeader->SetBounds(PreviewLeft, HeaderTop, FPreviewHeader->Width(), FPreviewHeader->Height());
    FList->SetBounds(Gap, Top, ListWidth, H);
    FPreview->SetBounds(PreviewLeft, Top, std::max(0, InspectorLeft - Gap - PreviewLeft), H);
    FViewButton->SetBounds(FPreview->Left() + FPreview->Width() - ViewButtonWidth, Gap / 2 + 1, ViewButtonWidth,
                           Top - Gap / 2 - 2);
    FInspectorPane->SetBounds(Bounds(InspectorLeft, Top, InspectorWidth, H), HeaderTop);
    FStatus->SetBounds(0, Height() - StatusHeight, Width(), StatusHeight);
}

void TDesignerForm::SetPage(std::unique_ptr<TQellPage> Page, std::string FileName)
{
    FFileName = std::move(FileName);
    FFileStamp = PageFileStamp(FFileName);
    FHistory.Clear();
    ReplacePage(std::move(Page));
    Select({FPage.get()});
}

void TDesignerForm::ReplacePage(std::unique_ptr<TQellPage> Page)
{
    std::vector<std::string> Paths;
    for (const TEntry& E : FEntries)
        if (IsSelected(E.Object)) Paths.push_back(E.Path);
    Inspector().SetSelection({});
    FSelection.clear();
    FEntries.clear();
    FPage = std::move(Page);
    FPreview->UpdateScrollBars();
    FPreview->UpdateMarks();
    ShowProblemCount();
    RebuildEntries();
    std::vector<TPersistent*> Kept;
    for (const std::string& Path : Paths)
        if (const TEntry* E = FindEntry(Path)) Kept.push_back(E->Object);
    Select(Kept.empty() ? std::vector<TPersistent*>{FPage.get()} : Kept);
    FPreview->Invalidate();
    UpdateCaption();
}

void TDesignerForm::RebuildEntries()
{
    FEntries.clear();
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
    FList->ShowEntries();
}

const TDesignerForm::TEntry* TDesignerForm::FindEntry(std::string_view Path) const
{
    for (const TEntry& E : FEntries)
        if (SameText(E.Path, Path)) return &E;
    return nullptr;
}

const TDesignerForm::TEntry* TDesignerForm::EntryOf(const TPersistent* Object) const
{
    for (const TEntry& E : FEntries)
        if (E.Object == Object) return &E;
    return nullptr;
}

bool TDesignerForm::IsSelected(const TPersistent* Object) const
{
    return std::find(FSelection.begin(), FSelection.end(), Object) != FSelection.end();
}

void TDesignerForm::Select(std::vector<TPersistent*> Objects)
{
    FSelection = std::move(Objects);
    Inspector().SetSelection(FSelection);
    FInspectorPane->UpdateHeader();
    if (!FSelection.empty())
        for (size_t I = 0; I < FEntries.size(); ++I)
            if (FEntries[I].Object == FSelection.back()) FList->SetItemIndex(static_cast<int>(I));
    FList->Invalidate();
    FPreview->Invalidate();
}

void TDesignerForm::ToggleSelected(TPersistent* Object)
{
    std::vector<TPersistent*> Objects = FSelection;
    const auto It = std::find(Objects.begin(), Objects.end(), Object);
    if (It == Objects.end()) Objects.push_back(Object);
    else if (Objects.size() > 1) Objects.erase(It);
    Select(std::move(Objects));
}

void TDesignerForm::PropertyChanged(const TPropertyChange& Change)
{
    FHistory.Record(Change);
}

void TDesignerForm::Modified()
{
    const int Row = Inspector().SelectedRow();
    const std::string RowPath = Row >= 0 ? Inspector().RowPath(Row) : std::string();
    const TUndoStep* Step = FHistory.EndStep(RowPath);
    if (Step && !RowPath.empty()) FStatus->SetAction("Changed " + RowPath);
    ShowValues(Step && TUndoHistory::Touches(*Step, "Name"));
}

void TDesignerForm::ShowValues(bool Renamed)
{
    if (Renamed) RebuildEntries();
    FList->Invalidate();
    FPreview->UpdateScrollBars();
    FPreview->UpdateMarks();
    FPreview->Invalidate();
    ShowProblemCount();
    UpdateCaption();
}

void TDesignerForm::ShowProblemCount()
{
    FStatus->SetProblems(FPreview->ContrastMarks() ? static_cast<int>(FPreview->Marked().size()) : -1);
}

void TDesignerForm::SetContrastMarks(bool On)
{
    FPreview->SetContrastMarks(On);
    ShowProblemCount();
}

void TDesignerForm::OpenViewMenu()
{
    std::vector<TMenuItem> Items{
        {"Mark contrast problems (F7)", true, ContrastMarks(), false, [this] { SetContrastMarks(!ContrastMarks()); }},
        {"", false, false, true, nullptr}};
    for (int V = 0; V <= static_cast<int>(TVisionDeficiency::Achromatopsia); ++V) {
        const auto Vision = static_cast<TVisionDeficiency>(V);
        std::string Caption = Vision == TVisionDeficiency::None ? "normal vision" : VisionDeficiencyName(Vision);
        Caption[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(Caption[0])));
        Items.push_back({Caption, true, Simulation() == Vision, false, [this, Vision] { SetSimulation(Vision); }});
    }
    FViewMenu->Items = std::move(Items);
    FViewMenu->SetFont(EffectiveFont());
    FViewMenu->Popup(*this, FViewButton->Left(), FViewButton->Top() + FViewButton->Height());
}

void TDesignerForm::SetSimulation(TVisionDeficiency Deficiency)
{
    FPreview->SetSimulation(Deficiency);
    FPreviewHeader->SetCaption(Deficiency == TVisionDeficiency::None
                                   ? std::string("Page")
                                   : std::string("Page, as seen with ") + VisionDeficiencyName(Deficiency));
    FStatus->SetAction(Deficiency == TVisionDeficiency::None
                           ? std::string("Preview in normal colour vision")
                           : std::string("Preview as seen with ") + VisionDeficiencyName(Deficiency));
}

namespace {

// Whether the editor writes one of the step's objects' properties.
bool EditsChanged(TPropertyEditor& Editor, const TUndoStep& Step)
{
    for (const TPropertyChange& C : Step.Changes)
        for (int I = 0; I < Editor.PropCount(); ++I)
            if (Editor.GetComponent(I) == C.Instance && Editor.GetPropInfoAt(I) == C.PropInfo) return true;
    return false;
}

} // namespace

void TDesignerForm::ShowStep(const TUndoStep& Step)
{
    Inspector().Refresh();
    // The row of the property that changed, where the inspector shows that object.
    const int Row = Inspector().FindRow(Step.RowPath);
    if (Row >= 0 && EditsChanged(*Inspector().RowEditor(Row), Step)) Inspector().SetSelectedRow(Row);
    ShowValues(TUndoHistory::Touches(Step, "Name"));
}

void TDesignerForm::Undo()
{
    // Typed text is undone first: the value again.
    if (Inspector().EditChanged()) {
        Inspector().CancelEdit();
        return;
    }
    Inspector().CancelEdit();
    if (const TUndoStep* Step = FHistory.Undo()) {
        ShowStep(*Step);
        FStatus->SetAction("Undid " + (Step->RowPath.empty() ? std::string("the edit") : Step->RowPath));
    }
}

void TDesignerForm::Redo()
{
    // Typed text is an edit of its own, after which nothing is left to redo.
    if (!CommitPendingEdit()) return;
    if (const TUndoStep* Step = FHistory.Redo()) {
        ShowStep(*Step);
        FStatus->SetAction("Redid " + (Step->RowPath.empty() ? std::string("the edit") : Step->RowPath));
    }
}

bool TDesignerForm::IsModified() const
{
    return FHistory.IsModified();
}

void TDesignerForm::UpdateCaption()
{
    SetCaption("Qell Designer - " + (FFileName.empty() ? std::string("(new page)") : FFileName) +
               (IsModified() ? " *" : ""));
}

bool TDesignerForm::CommitPendingEdit()
{
    return Inspector().LeaveEdit();
}

bool TDesignerForm::SaveAs(const std::string& FileName)
{
    try {
        const TPageFileLock Lock(FileName);
        if (FileName == FFileName && PageFileStamp(FileName) != FFileStamp) {
            const TModalResult Answer = AskChangedOnDisk(FileName);
            if (Answer == mrNo) {
                SetPage(LoadPageFile(FileName), FileName);
                FStatus->SetAction("Reloaded " + ExtractFileName(FileName));
                return false;
            }
            if (Answer != mrYes) return false;
        }
        SavePageFile(FileName, *FPage);
    } catch (const Exception& E) {
        ShowMessage(E.Message() + "\nThe page is not saved.");
        return false;
    }
    FFileStamp = PageFileStamp(FileName);
    FFileName = FileName;
    FHistory.MarkSaved();
    UpdateCaption();
    FStatus->SetAction("Saved " + ExtractFileName(FileName));
    return true;
}

bool TDesignerForm::Save()
{
    if (!CommitPendingEdit()) return false;
    if (!FFileName.empty()) return SaveAs(FFileName);
    std::string FileName;
    return ChoosePageToSave(FileName) && SaveAs(FileName);
}

bool TDesignerForm::OpenFile(const std::string& FileName)
{
    std::unique_ptr<TQellPage> Page;
    try {
        Page = LoadPageFile(FileName);
    } catch (const Exception& E) {
        ShowMessage(E.Message() + "\nThe page shown stays as it was.");
        return false;
    }
    SetPage(std::move(Page), FileName);
    FStatus->SetAction("Opened " + ExtractFileName(FileName));
    OfferRecovery();
    return true;
}

void TDesignerForm::OfferRecovery()
{
    const std::string Recovered = RecoveryFileName(FFileName);
    struct stat Info;
    if (FFileName.empty() || stat(Recovered.c_str(), &Info) != 0 || !S_ISREG(Info.st_mode)) return;
    const TModalResult Answer = AskRecover(FFileName, Recovered);
    if (Answer == mrNo) {
        std::remove(Recovered.c_str());
        return;
    }
    if (Answer != mrYes) return;
    std::unique_ptr<TQellPage> Page;
    try {
        Page = ReadPageText(ReadFileText(Recovered, MaxPageFileSize));
    } catch (const Exception& E) {
        ShowMessage(QuotedFileName(Recovered) + ": " + E.Message() + "\nThe page shown is the one on disk.");
        return;
    }
    // The recovered values over the file's, as one edit that Ctrl+Z takes back; a page
    // of other components replaces the file's, unsaved, without undo.
    std::vector<TPropertyChange> Changes;
    if (DiffPageValues(*FPage, *Page, Changes)) {
        for (const TPropertyChange& C : Changes) {
            SetPropValue(*C.Instance, *C.PropInfo, C.After);
            FHistory.Record(C);
        }
        FHistory.EndStep("");
        Inspector().Refresh();
        ShowValues(true);
    } else {
        ReplacePage(std::move(Page));
        FHistory.Clear();
        FHistory.MarkUnsaved();
        UpdateCaption();
    }
    std::remove(Recovered.c_str());
    FStatus->SetAction("Recovered the unsaved changes");
}

std::string TDesignerForm::WriteRecovery() const
{
    return IsModified() ? WriteRecoveryFile(FFileName, PageText(*FPage)) : std::string();
}

void TDesignerForm::OpenWithPrompt()
{
    if (!CommitPendingEdit() || !CloseQuery()) return;
    std::string FileName = FFileName;
    if (ChoosePageToOpen(FileName)) OpenFile(FileName);
}

bool TDesignerForm::CloseQuery()
{
    if (!CommitPendingEdit()) return false;
    if (!IsModified()) return TForm::CloseQuery();
    switch (AskToSave(FFileName.empty() ? "the new page" : QuotedFileName(FFileName))) {
    case mrYes: return Save() && TForm::CloseQuery();
    case mrNo: return TForm::CloseQuery();
    default: return false;
    }
}

bool TDesignerForm::DialogKey(TKey Key, TShiftState Shift)
{
    if (Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt)) {
        const bool WithShift = Shift.Contains(ssShift);
        if (Key == 'O' && !WithShift) {
            OpenWithPrompt();
            return true;
        }
        if (Key == 'S' && !WithShift) {
            Save();
            return true;
        }
        if (Key == 'Z' && !WithShift) {
            Undo();
            return true;
        }
        if (Key == 'Y' || (Key == 'Z' && WithShift)) {
            Redo();
            return true;
        }
    }
    if (Key == 'K' && Shift == TShiftState{ssCtrl}) {
        ApplySuggestion();
        return true;
    }
    if (Key == 'F' && Shift == TShiftState{ssCtrl}) {
        if (Inspector().LeaveEdit()) {
            Filter().SetFocus();
            Filter().SelectAll();
        }
        return true;
    }
    if (Key == vkF7 && Shift.Empty()) {
        SetContrastMarks(!ContrastMarks());
        return true;
    }
    if (Key == vkF8 && Shift.Empty()) {
        const int Next = (static_cast<int>(Simulation()) + 1) % (static_cast<int>(TVisionDeficiency::Achromatopsia) + 1);
        SetSimulation(static_cast<TVisionDeficiency>(Next));
        return true;
    }
    if (Key == vkF1 && Shift.Empty()) {
        ShowDesignerHelp();
        return true;
    }
    return TForm::DialogKey(Key, Shift);
}

// ---------------------------------------------------------------------------------

void RegisterDesignerScriptVerbs()
{
    using namespace ScriptSupport;
    RegisterScriptVerb(
        {"pick", "pick NAME [ctrl]", 1, 2,
         [](const std::vector<TScriptToken>& Args, TScriptCommand& C) {
             C.Words.push_back(Args[0].Text);
             if (Args.size() == 2) {
                 if (!SameText(Args[1].Text, "ctrl")) throw EScriptError("pick NAME [ctrl]: not " + QuotedInput(Args[1].Text));
                 C.Shift.Include(ssCtrl);
             }
         },
         [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
             auto* Preview = &FindShowingAs<TPagePreview>(Form, "Preview", "page preview");
             auto* Designer = dynamic_cast<TDesignerForm*>(&Form);
             TComponent* Target = Designer ? FindPageComponent(Designer->Page(), C.Words[0]) : nullptr;
             if (!Target) throw EScriptError("no component " + QuotedInput(C.Words[0]) + " on the page");
             // Scrolled to first, as a user would; then the centre, or else the first
             // point row by row, where the click reaches the component and not one lying
             // over it.
             Out.push_back([Preview, Target, Name = C.Words[0], Keys = C.Shift](TForm& F) {
                 Preview->ScrollInView(*Target);
                 const TRect R = Intersect(Preview->ComponentRect(*Target), Preview->ViewRect());
                 std::optional<TPoint> Hit;
                 const TPoint Centre{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
                 if (!R.IsEmpty() && Preview->ComponentAt(Centre.X, Centre.Y) == Target) Hit = Centre;
                 for (int Y = R.Top; Y < R.Bottom && !Hit; Y += 2)
                     for (int X = R.Left; X < R.Right && !Hit; X += 2)
                         if (Preview->ComponentAt(X, Y) == Target) Hit = TPoint{X, Y};
                 if (!Hit) throw EScriptError(QuotedInput(Name) + " is not in view");
                 const TPoint P = At(*Preview, Hit->X, Hit->Y);
                 TShiftState Down = Keys;
                 Down.Include(ssLeft);
                 F.HandleMouseDown(mbLeft, Down, P.X, P.Y);
                 F.HandleMouseUp(mbLeft, Keys, P.X, P.Y);
             });
         }});
}
