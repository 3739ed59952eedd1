// The property inspector's right-click menu and the actions it offers.

#include "platform/designide/PropertyInspector.h"
#include "platform/designide/PropertyPaths.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/Form.h"

bool TPropertyInspector::CanResetToDefault() const
{
    if (SelectedRow() < 0) return false;
    TPropertyEditor* Editor = RowEditor(SelectedRow());
    return Editor->CanRevert() && !Editor->GetIsDefault();
}

void TPropertyInspector::ResetToDefault()
{
    if (!CanResetToDefault()) return;
    TInterfacePtr<TPropertyEditor> Editor(RowEditor(SelectedRow()));
    const std::string Path = RowPath(SelectedRow());
    if (FEditing->Change([&] { Editor->Revert(); })) Tell("Reset " + Path);
}

void TPropertyInspector::Tell(const std::string& Action)
{
    if (OnAction) OnAction(Action);
}

bool TPropertyInspector::CanCopyValue() const
{
    return SelectedRow() >= 0 && !RowValue(SelectedRow()).empty();
}

void TPropertyInspector::CopyValue()
{
    const int Row = SelectedRow();
    if (Row < 0) return;
    Application->BackEnd().SetClipboardText(RowValue(Row));
    Tell("Copied the value of " + RowPath(Row));
}

void TPropertyInspector::CopyPath()
{
    const int Row = SelectedRow();
    if (Row < 0) return;
    const std::string Path = PropertyPath(PathPrefix ? PathPrefix() : std::string(), RowPath(Row));
    Application->BackEnd().SetClipboardText(Path);
    Tell("Copied the path " + Path);
}

bool TPropertyInspector::CanPasteValue() const
{
    const int Row = SelectedRow();
    return Row >= 0 && !RowEditor(Row)->GetAttributes().Contains(paReadOnly) &&
           !Application->BackEnd().ClipboardText().empty();
}

void TPropertyInspector::PasteValue()
{
    if (!CanPasteValue()) return;
    TInterfacePtr<TPropertyEditor> Editor(RowEditor(SelectedRow()));
    const std::string Text = Application->BackEnd().ClipboardText();
    // As Enter on typed text: the value it already shows is no edit.
    if (Text == Editor->GetVisualValue()) return;
    SetSelectedValue(Text, "Pasted into " + RowPath(SelectedRow()));
}

bool TPropertyInspector::SetSelectedValue(const std::string& Text, const std::string& Action)
{
    const int Row = SelectedRow();
    if (Row < 0 || RowEditor(Row)->GetAttributes().Contains(paReadOnly) || !ReadyForNewRows()) return false;
    TInterfacePtr<TPropertyEditor> Editor(RowEditor(Row));
    if (!FEditing->Change([&] { Editor->SetValue(Text); })) return false;
    Tell(Action);
    return true;
}

std::vector<TMenuItem> TPropertyInspector::RowMenuItems()
{
    const bool OnRow = SelectedRow() >= 0;
    const bool Alphabetical = SortOrder() == TSortOrder::Alphabetical;
    const bool Rows = RowCount() > 0;
    std::vector<TMenuItem> Items{
        {"Reset to default", CanResetToDefault(), false, false, [this] { ResetToDefault(); }},
        {"Copy value", CanCopyValue(), false, false, [this] { CopyValue(); }},
        {"Paste value", CanPasteValue(), false, false, [this] { PasteValue(); }},
        {"Copy path", OnRow, false, false, [this] { CopyPath(); }},
        {"", false, false, true, nullptr},
        {"Sort alphabetically", true, Alphabetical, false, [this] { SetSortOrder(TSortOrder::Alphabetical); }},
        {"Sort in declaration order", true, !Alphabetical, false, [this] { SetSortOrder(TSortOrder::Declaration); }},
        {"", false, false, true, nullptr},
        {"Expand all", Rows, false, false, [this] { ExpandAll(); }},
        {"Collapse all", Rows, false, false, [this] { CollapseAll(); }},
    };
    if (OnRow && OnRowMenu) {
        std::vector<TMenuItem> More = OnRowMenu(SelectedRow());
        if (!More.empty()) Items.push_back({"", false, false, true, nullptr});
        for (TMenuItem& Item : More) Items.push_back(std::move(Item));
    }
    return Items;
}

void TPropertyInspector::OpenRowMenu(int Row, int X, int Y)
{
    TForm* Form = ParentForm();
    if (!Form || !ReadyForNewRows()) return;
    if (Row >= 0 && Row < RowCount()) SetSelectedRow(Row);
    if (!FMenu) {
        FMenu = new TPopupMenu(this);
        FMenu->OnClose = [this](bool HadFocus) {
            if (HadFocus && CanFocus()) SetFocus();
        };
    }
    FMenu->SetFont(EffectiveFont());
    FMenu->Items = RowMenuItems();
    const TPoint O = SurfaceOrigin(), F = Form->SurfaceOrigin();
    FMenuAt = {O.X - F.X + X, O.Y - F.Y + Y};
    FMenu->Popup(*Form, FMenuAt.X, FMenuAt.Y);
}

void TPropertyInspector::ReopenRowMenu(std::vector<TMenuItem> Items)
{
    TForm* Form = ParentForm();
    if (!Form || !FMenu) return;
    FMenu->Items = std::move(Items);
    FMenu->Popup(*Form, FMenuAt.X, FMenuAt.Y);
}

TPopupMenu* TPropertyInspector::RowMenu() const
{
    return FMenu && FMenu->IsOpen() ? FMenu : nullptr;
}
