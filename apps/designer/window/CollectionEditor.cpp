#include "apps/designer/window/CollectionEditor.h"

#include <memory>

#include "apps/designer/document/PageDocument.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/Button.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/ListBox.h"

namespace {

constexpr int Margin = 12, Gap = 8, ListWidth = 220, ListHeight = 200;

// What the list shows for the item at Index.
std::string ItemLine(TCollectionItem& Item, int Index)
{
    std::string Text;
    if (const TPropInfo* Caption = Item.ClassInfo().FindProperty("Caption");
        Caption && Caption->Kind() == TTypeKind::String)
        Text = GetStrProp(Item, *Caption);
    return std::to_string(Index) + " - " + (Text.empty() ? Item.ClassName() : Text);
}

class TCollectionEditor {
public:
    TCollectionEditor(TPageDocument& Document, TCollection& Collection, const std::string& Path);
    void Run() { FForm->ShowModal(); }

private:
    TButton* AddButton(const char* Name, const char* Caption, int Top);
    // The items again, Chosen (-1: none) chosen, and the buttons that apply enabled.
    void ShowItems(int Chosen);
    // The chosen item, or nullptr.
    TCollectionItem* Chosen() const;
    // The chosen item By places down (up when negative), still chosen.
    void MoveChosen(int By);
    // The index of the document's selection in the collection, or -1.
    int SelectedIndex() const;

    TPageDocument& FDocument;
    TCollection& FCollection;
    std::unique_ptr<TForm> FForm;
    TListBox* FList;
    TButton *FDelete, *FUp, *FDown;
};

TCollectionEditor::TCollectionEditor(TPageDocument& Document, TCollection& Collection, const std::string& Path)
    : FDocument(Document), FCollection(Collection), FForm(std::make_unique<TForm>(Application))
{
    FForm->SetName("CollectionEditor");
    FForm->SetCaption("Editing " + Path);
    FForm->BorderStyle = bsDialog;
    FForm->Position = poScreenCenter;
    FList = new TListBox(FForm.get());
    FList->SetName("Items");
    FList->SetParent(FForm.get());
    FList->SetBounds(Margin, Margin, ListWidth, ListHeight);
    FList->OnClick = [this](TObject*) {
        if (TCollectionItem* Item = Chosen()) FDocument.Select({Item});
        ShowItems(FList->ItemIndex());
    };
    AddButton("Add", "&Add", Margin)->OnClick = [this](TObject*) {
        ShowItems(FDocument.AddCollectionItem(FCollection).Index());
    };
    FDelete = AddButton("Delete", "&Delete", Margin + TButton::DefaultHeight + Gap / 2);
    FDelete->OnClick = [this](TObject*) {
        if (TCollectionItem* Item = Chosen()) FDocument.DeleteCollectionItem(*Item);
        ShowItems(SelectedIndex());
    };
    FUp = AddButton("MoveUp", "Move &up", Margin + 2 * (TButton::DefaultHeight + Gap / 2) + Gap);
    FUp->OnClick = [this](TObject*) { MoveChosen(-1); };
    FDown = AddButton("MoveDown", "Move dow&n", FUp->Top() + TButton::DefaultHeight + Gap / 2);
    FDown->OnClick = [this](TObject*) { MoveChosen(1); };
    TButton* Close = AddButton("Close", "Close", Margin + ListHeight - TButton::DefaultHeight);
    Close->Cancel = Close->Default = true;
    Close->ModalResult = mrOk;
    FForm->SetClientWidth(Margin + ListWidth + Gap + TButton::DefaultWidth + Margin);
    FForm->SetClientHeight(Margin + ListHeight + Margin);
    ShowItems(SelectedIndex());
    FForm->SetActiveControl(FList);
}

TButton* TCollectionEditor::AddButton(const char* Name, const char* Caption, int Top)
{
    auto* B = new TButton(FForm.get());
    B->SetName(Name);
    B->SetParent(FForm.get());
    B->SetCaption(Caption);
    B->SetBounds(Margin + ListWidth + Gap, Top, TButton::DefaultWidth, TButton::DefaultHeight);
    return B;
}

void TCollectionEditor::ShowItems(int Chosen)
{
    std::vector<std::string> Lines;
    for (int I = 0; I < FCollection.Count(); ++I) Lines.push_back(ItemLine(*FCollection.Items(I), I));
    const int Top = FList->TopIndex();
    FList->SetItems(std::move(Lines));
    FList->SetTopIndex(Top);
    if (Chosen >= FCollection.Count()) Chosen = -1;
    FList->SetItemIndex(Chosen);
    FDelete->SetEnabled(Chosen >= 0);
    FUp->SetEnabled(Chosen > 0);
    FDown->SetEnabled(Chosen >= 0 && Chosen + 1 < FCollection.Count());
}

TCollectionItem* TCollectionEditor::Chosen() const
{
    const int Index = FList->ItemIndex();
    return Index >= 0 && Index < FCollection.Count() ? FCollection.Items(Index) : nullptr;
}

void TCollectionEditor::MoveChosen(int By)
{
    TCollectionItem* Item = Chosen();
    if (!Item) return;
    const int To = Item->Index() + By;
    FDocument.MoveCollectionItem(*Item, To);
    ShowItems(To);
}

int TCollectionEditor::SelectedIndex() const
{
    const std::vector<TPersistent*>& Selection = FDocument.Selection();
    const auto* Item = Selection.empty() ? nullptr : dynamic_cast<const TCollectionItem*>(Selection.back());
    return Item && Item->Collection() == &FCollection ? Item->Index() : -1;
}

} // namespace

void EditCollection(TPageDocument& Document, TCollection& Collection, const std::string& Path)
{
    TCollectionEditor(Document, Collection, Path).Run();
}
