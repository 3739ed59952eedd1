#include "apps/designer/Designer.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "apps/designer/HelpForms.h"
#include "apps/designer/Recovery.h"
#include "apps/designer/RowTexts.h"
#include "colour/IWColors.h"
#include "platform/components/PageContrast.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/FileDialogs.h"
#include "platform/toolkit/backends/EventScript.h"
#include "platform/toolkit/resources/FormReader.h"

namespace {

constexpr int IndentPerLevel = 14;
const std::vector<TFileFilter> PageFileFilters{{"Page files (*.txt)", "*.txt"}, {"All files (*)", "*"}};

// The collections that Object publishes, by property name.
std::vector<std::pair<std::string, TCollection*>> CollectionsOf(TPersistent& Object)
{
    std::vector<std::pair<std::string, TCollection*>> Found;
    for (const TPropInfo* P : Object.ClassInfo().AllProperties())
        if (P->PropType->Kind == TTypeKind::Class)
            if (auto* C = dynamic_cast<TCollection*>(GetObjectProp(Object, *P))) Found.emplace_back(P->Name, C);
    return Found;
}

TModalResult AskToSave(const std::string& Name)
{
    return MessageBox("Qell Designer", "Save the changes to " + Name + "?",
                      {{"Save", "&Save", mrYes}, {"Discard", "&Discard", mrNo}, {"Cancel", "Cancel", mrCancel}});
}

} // namespace

// ---------------------------------------------------------------------------------

const TClassInfo& TComponentList::StaticClassInfo()
{
    static const TClassInfo Info = MakeClassInfo<TComponentList>("TComponentList", PublishNothing<TComponentList>);
    return Info;
}

TComponentList::TComponentList(TDesignerForm& Designer) : TListBox(&Designer), FDesigner(Designer)
{
    SetStyle(lbOwnerDrawFixed);
    OnDrawItem = [this](TObject*, int Index, const TRect& Rect, TOwnerDrawState) { DrawEntry(Index, Rect); };
    OnClick = [this](TObject*) {
        if (ItemIndex() >= 0) FDesigner.Select({FDesigner.Entries()[static_cast<size_t>(ItemIndex())].Object});
    };
}

void TComponentList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const int Index = ItemAtPos(X, Y);
    if (Button == mbLeft && Shift.Contains(ssCtrl) && Index >= 0) {
        FDesigner.ToggleSelected(FDesigner.Entries()[static_cast<size_t>(Index)].Object);
        return;
    }
    TListBox::MouseDown(Button, Shift, X, Y);
}

void TComponentList::DrawEntry(int Index, const TRect& Rect)
{
    const TDesignerForm::TEntry& E = FDesigner.Entries()[static_cast<size_t>(Index)];
    TCanvas& C = Canvas();
    const bool Selected = FDesigner.IsSelected(E.Object);
    C.Brush.Color = Selected ? clHighlight : EffectiveColor();
    C.FillRect(Rect);
    C.Font = EffectiveFont();
    C.Font.SetColor(Selected ? clHighlightText : clWindowText);
    const std::string& Text = Items(Index);
    C.TextRect(Rect, Rect.Left + 2 + E.Level * IndentPerLevel, Rect.Top + (Rect.Height() - C.TextHeight(Text)) / 2,
               Text);
}

// ---------------------------------------------------------------------------------

const TClassInfo& TDesignerForm::StaticClassInfo()
{
    static const TClassInfo Info = MakeClassInfo<TDesignerForm>("TDesignerForm", PublishNothing<TDesignerForm>);
    return Info;
}

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
    FInspectorHeader = Header("InspectorLabel", "Properties");
    FList = new TComponentList(*this);
    FList->SetName("Components");
    FList->SetParent(this);
    FList->TabStop = true;
    FPreview = new TPagePreview(*this);
    FPreview->SetName("Preview");
    FPreview->SetParent(this);
    FInspector = new TPropertyInspector(this);
    FInspector->SetName("Inspector");
    FInspector->SetParent(this);
    FInspector->Designer = this;
    FInspector->NameWidth = 140; // room for a sub-object's longest names
    FInspector->OnSelectRow = [this](TObject*) { UpdateDescription(); };
    FDescription = new TDescriptionLine(this);
    FDescription->SetName("Description");
    FDescription->SetParent(this);
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
    FInspector->OnSelectRow = nullptr;
    FInspector->SetSelection({});
}

void TDesignerForm::Resized()
{
    TForm::Resized();
    const int Top = Gap + HeaderHeight, H = std::max(0, Height() - Top - Gap);
    const int PreviewLeft = 2 * Gap + ListWidth;
    const int InspectorLeft = std::max(PreviewLeft, Width() - Gap - InspectorWidth);
    FListHeader->SetBounds(Gap, Gap + 3, ListWidth, FListHeader->Height());
    FPreviewHeader->SetBounds(PreviewLeft, Gap + 3, FPreviewHeader->Width(), FPreviewHeader->Height());
    FInspectorHeader->SetBounds(InspectorLeft, Gap + 3, FInspectorHeader->Width(), FInspectorHeader->Height());
    FList->SetBounds(Gap, Top, ListWidth, H);
    FPreview->SetBounds(PreviewLeft, Top, std::max(0, InspectorLeft - Gap - PreviewLeft), H);
    const int Below = TDescriptionLine::DefaultHeight;
    FInspector->SetBounds(InspectorLeft, Top, InspectorWidth, std::max(0, H - Below - Gap / 2));
    FDescription->SetBounds(InspectorLeft, Top + std::max(0, H - Below), InspectorWidth, std::min(H, Below));
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
    FInspector->SetSelection({});
    FSelection.clear();
    FEntries.clear();
    FPage = std::move(Page);
    FPreview->UpdateScrollBars();
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
    std::vector<std::string> Lines;
    for (TComponent* C : PageComponents(*FPage)) {
        const int Level = C == FPage.get() ? 0 : 1;
        FEntries.push_back({C, C, C->Name(), Level});
        Lines.push_back(C->Name() + ": " + C->ClassName());
        for (const auto& [Property, Collection] : CollectionsOf(*C))
            for (int I = 0; I < Collection->Count(); ++I) {
                const std::string Item = Property + "[" + std::to_string(I) + "]";
                FEntries.push_back({Collection->Items(I), C, C->Name() + "." + Item, Level + 1});
                Lines.push_back(Item + ": " + Collection->Items(I)->ClassName());
            }
    }
    const int Index = FList->ItemIndex(), Top = FList->TopIndex();
    FList->SetItems(std::move(Lines));
    FList->SetTopIndex(Top);
    if (Index < FList->Count()) FList->SetItemIndex(Index);
}

const TDesignerForm::TEntry* TDesignerForm::FindEntry(std::string_view Path) const
{
    for (const TEntry& E : FEntries)
        if (SameText(E.Path, Path)) return &E;
    return nullptr;
}

bool TDesignerForm::IsSelected(const TPersistent* Object) const
{
    return std::find(FSelection.begin(), FSelection.end(), Object) != FSelection.end();
}

void TDesignerForm::Select(std::vector<TPersistent*> Objects)
{
    FSelection = std::move(Objects);
    FInspector->SetSelection(FSelection);
    UpdateInspectorHeader();
    if (!FSelection.empty())
        for (size_t I = 0; I < FEntries.size(); ++I)
            if (FEntries[I].Object == FSelection.back()) FList->SetItemIndex(static_cast<int>(I));
    FList->Invalidate();
    FPreview->Invalidate();
}

void TDesignerForm::UpdateInspectorHeader()
{
    std::string Caption = "Properties";
    if (FSelection.size() > 1) {
        Caption = std::to_string(FSelection.size()) + " objects";
    } else if (FSelection.size() == 1) {
        for (const TEntry& E : FEntries)
            if (E.Object == FSelection[0]) Caption = E.Path + ": " + E.Object->ClassName();
    }
    FInspectorHeader->SetCaption(Caption);
}

void TDesignerForm::UpdateDescription()
{
    FSuggestion.clear();
    std::vector<std::string> Lines;
    const int Row = FInspector->SelectedRow();
    const TPropInfo* P = Row >= 0 ? FInspector->RowEditor(Row)->GetPropInfo() : nullptr;
    if (P) {
        const std::string& Path = FInspector->RowPath(Row);
        const std::string Default = PropDefaultText(*P);
        Lines.push_back(Path + ": " + PropTypeText(*P) + (Default.empty() ? "" : ", default " + Default));
        if (!P->Description.empty()) Lines.push_back(P->Description);
        // The pairs a colour of one selected object is drawn in.
        const TEntry* Entry = nullptr;
        for (const TEntry& E : FEntries)
            if (FSelection.size() == 1 && E.Object == FSelection[0]) Entry = &E;
        if (Entry && (P->PropType == &TypeInfoTIWColor || P->PropType == &TypeInfoTColor)) {
            const std::string Full = Entry->Path + "." + Path;
            for (const TContrastFinding& F : PairsOfColour(ComponentContrast(*Entry->Component), Full)) {
                const bool Foreground = SameText(F.ForegroundPath, Full);
                const auto Verdict = [&](TContrastLevel Level, const char* Name) {
                    return std::string(F.Passes(Level) ? "passes " : "fails ") + Name;
                };
                // The other colour's path, from the component's own name on.
                std::string Other = Foreground ? F.BackgroundPath : F.ForegroundPath;
                const std::string Own = Entry->Component->Name() + ".";
                if (Other.size() > Own.size() && SameText(Other.substr(0, Own.size()), Own))
                    Other.erase(0, Own.size());
                Lines.push_back(RatioText(F.Ratio) + ":1 " + (Foreground ? "on " : "under ") + Other);
                std::string Verdicts = Verdict(TContrastLevel::AA, "AA") + ", " + Verdict(TContrastLevel::AAA, "AAA");
                if (Foreground && !F.Passes(TContrastLevel::AA)) {
                    TRowTexts Texts;
                    const std::string Text =
                        Texts.ValueAs(*F.Foreground.Object, *F.Foreground.Prop, F.Suggestion(TContrastLevel::AA));
                    if (FSuggestion.empty()) FSuggestion = Text;
                    Verdicts += "; Ctrl+K: " + Text;
                }
                Lines.push_back("  " + Verdicts);
            }
        }
    }
    FDescription->SetLines(std::move(Lines));
}

bool TDesignerForm::ApplySuggestion()
{
    const int Row = FInspector->SelectedRow();
    if (FSuggestion.empty() || Row < 0 || !FInspector->LeaveEdit()) return false;
    TInterfacePtr<TPropertyEditor> Editor(FInspector->RowEditor(Row));
    const std::string Text = FSuggestion;
    try {
        Editor->SetValue(Text);
    } catch (const std::exception& E) {
        ShowMessage(E.what());
        return false;
    }
    FInspector->Refresh();
    return true;
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
    const int Row = FInspector->SelectedRow();
    const TUndoStep* Step = FHistory.EndStep(Row >= 0 ? FInspector->RowPath(Row) : std::string());
    // A rename shows in the list; every colour at once in the preview.
    if (Step && TUndoHistory::Touches(*Step, "Name")) RebuildEntries();
    FList->Invalidate();
    FPreview->UpdateScrollBars();
    FPreview->Invalidate();
    UpdateCaption();
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
    if (TUndoHistory::Touches(Step, "Name")) RebuildEntries();
    FPreview->UpdateScrollBars();
    FInspector->Refresh();
    // The row of the property that changed, where the inspector shows that object.
    const int Row = FInspector->FindRow(Step.RowPath);
    if (Row >= 0 && EditsChanged(*FInspector->RowEditor(Row), Step)) FInspector->SetSelectedRow(Row);
    FList->Invalidate();
    FPreview->Invalidate();
    UpdateCaption();
}

void TDesignerForm::Undo()
{
    // Typed text is undone first: the value again.
    if (FInspector->EditChanged()) {
        FInspector->CancelEdit();
        return;
    }
    FInspector->CancelEdit();
    if (const TUndoStep* Step = FHistory.Undo()) ShowStep(*Step);
}

void TDesignerForm::Redo()
{
    // Typed text is an edit of its own, after which nothing is left to redo.
    if (!CommitPendingEdit()) return;
    if (const TUndoStep* Step = FHistory.Redo()) ShowStep(*Step);
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
    return FInspector->LeaveEdit();
}

bool TDesignerForm::SaveAs(const std::string& FileName)
{
    try {
        const TPageFileLock Lock(FileName);
        if (FileName == FFileName && PageFileStamp(FileName) != FFileStamp) {
            const TModalResult Answer = MessageBox(
                "Qell Designer", QuotedFileName(FileName) + " has changed on disk since it was read.",
                {{"Overwrite", "&Overwrite", mrYes}, {"Reload", "&Reload", mrNo}, {"Cancel", "Cancel", mrCancel}});
            if (Answer == mrNo) {
                SetPage(LoadPageFile(FileName), FileName);
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
    return true;
}

bool TDesignerForm::Save()
{
    if (!CommitPendingEdit()) return false;
    if (!FFileName.empty()) return SaveAs(FFileName);
    TSaveDialog Chooser;
    Chooser.Title = "Save page";
    Chooser.Filters = PageFileFilters;
    Chooser.DefaultExt = "txt";
    return Chooser.Execute() && SaveAs(Chooser.FileName);
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
    OfferRecovery();
    return true;
}

void TDesignerForm::OfferRecovery()
{
    const std::string Recovered = RecoveryFileName(FFileName);
    struct stat Info;
    if (FFileName.empty() || stat(Recovered.c_str(), &Info) != 0 || !S_ISREG(Info.st_mode)) return;
    const TModalResult Answer =
        MessageBox("Qell Designer",
                   "Unsaved changes to " + QuotedFileName(FFileName) + " were recovered into " +
                       QuotedFileName(Recovered) + " when the designer had to end.\nRecover them, or discard them?",
                   {{"Recover", "&Recover", mrYes}, {"Discard", "&Discard", mrNo}});
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
        RebuildEntries();
        FInspector->Refresh();
        FPreview->UpdateScrollBars();
        FPreview->Invalidate();
        UpdateCaption();
    } else {
        ReplacePage(std::move(Page));
        FHistory.Clear();
        FHistory.MarkUnsaved();
        UpdateCaption();
    }
    std::remove(Recovered.c_str());
}

std::string TDesignerForm::WriteRecovery() const
{
    return IsModified() ? WriteRecoveryFile(FFileName, PageText(*FPage)) : std::string();
}

void TDesignerForm::OpenWithPrompt()
{
    if (!CommitPendingEdit() || !CloseQuery()) return;
    TOpenDialog Chooser;
    Chooser.Title = "Open page";
    Chooser.Filters = PageFileFilters;
    Chooser.FileName = FFileName;
    if (Chooser.Execute()) OpenFile(Chooser.FileName);
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
