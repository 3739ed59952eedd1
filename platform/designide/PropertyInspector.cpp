#include "platform/designide/PropertyInspector.h"

#include <algorithm>

#include "platform/rtl/Publish.h"

namespace {

void Publish(TPublisher<TPropertyInspector>& P)
{
    P.Redeclare("Width").OrdDefault = TPropertyInspector::DefaultWidth;
    P.Redeclare("Height").OrdDefault = TPropertyInspector::DefaultHeight;
    P.Redeclare("TabStop").OrdDefault = true;
    P.Redeclare("Color").OrdDefault = clWindow;
    P.Redeclare("ParentColor").OrdDefault = false;
    P.Field("NameWidth", TypeInfoInteger, &TPropertyInspector::NameWidth, TPropertyInspector::DefaultNameWidth)
        .Range(20, 4000).Describe("The width of the names' column, in pixels.");
}

} // namespace

QELL_DEFINE_CLASS_INFO(TPropertyInspector, Publish, true)

TPropertyInspector::TPropertyInspector(TComponent* AOwner) : TWinControl(AOwner), FScrollBar(new TScrollBar(this))
{
    TabStop = true;
    SetColor(clWindow);
    FRows.OnRowsChanged = [this] { RowsChanged(); };
    FRows.OnSelectedChanged = [this] { SelectedChanged(); };
    FScrollBar->SetParent(this);
    FScrollBar->SetVisible(false);
    FScrollBar->OnChange = [this](TObject*) { SetTopRow(FScrollBar->Position()); };
    FEditing = std::make_unique<TInspectorEditController>(*this);
    SetBounds(0, 0, DefaultWidth, DefaultHeight);
}

TPropertyInspector::~TPropertyInspector()
{
    // The hint and the menu sit on the form, not on the inspector: they go with it.
    delete FHint;
    FHint = nullptr;
    delete FMenu;
    FMenu = nullptr;
}

void TPropertyInspector::SetSelection(std::vector<TPersistent*> Objects)
{
    HideHint();
    CloseDropDown();
    if (FMenu) FMenu->CloseUp();
    CancelEdit();
    const std::string Kept = FRows.SelectedPath();
    FRows.Designer = Designer;
    FRows.SetObjects(std::move(Objects));
    // A row kept stays where it was on screen, as far as the rows allow.
    if (Kept.empty() || !SameText(FRows.SelectedPath(), Kept)) SetTopRow(0);
    ScrollIntoView(SelectedRow());
}

void TPropertyInspector::Refresh()
{
    FRows.Refresh();
}

void TPropertyInspector::RowsChanged()
{
    Layout();
    Invalidate();
    if (OnSelectRow) OnSelectRow(this);
}

void TPropertyInspector::SelectedChanged()
{
    Invalidate();
    if (OnSelectRow) OnSelectRow(this);
    ScrollIntoView(SelectedRow());
}

bool TPropertyInspector::ReadyForNewRows()
{
    HideHint();
    CloseDropDown();
    return LeaveEdit();
}

void TPropertyInspector::SetFilter(std::string_view Filter)
{
    if (Filter == FRows.Filter() || !ReadyForNewRows()) return;
    FRows.SetFilter(Filter);
}

void TPropertyInspector::SetSortOrder(TSortOrder Order)
{
    if (Order == FRows.SortOrder() || !ReadyForNewRows()) return;
    FRows.SetSortOrder(Order);
}

void TPropertyInspector::ExpandAll()
{
    if (ReadyForNewRows()) FRows.ExpandAll();
}

void TPropertyInspector::CollapseAll()
{
    if (ReadyForNewRows()) FRows.CollapseAll();
}

int TPropertyInspector::InnerRight() const
{
    return Width() - Border - (FScrollBar->Visible() ? FScrollBar->Width() : 0);
}

int TPropertyInspector::VisibleRows() const
{
    return std::max(1, (Height() - 2 * Border) / RowHeight);
}

void TPropertyInspector::SetNameWidth(int V)
{
    V = std::max(MinColumnWidth, std::min(V, InnerRight() - MinColumnWidth));
    if (V == NameWidth) return;
    NameWidth = V;
    HideHint();
    Layout();
    Invalidate();
}

void TPropertyInspector::Layout()
{
    const bool Overflows = RowCount() > VisibleRows();
    FScrollBar->SetBounds(Width() - Border - TScrollBar::DefaultWidth, Border, TScrollBar::DefaultWidth,
                          std::max(0, Height() - 2 * Border));
    FScrollBar->SetVisible(Overflows);
    FScrollBar->SetParams(0, std::max(RowCount() - 1, 0), VisibleRows());
    FTopRow = std::clamp(FTopRow, 0, std::max(0, RowCount() - VisibleRows()));
    FScrollBar->SetPosition(FTopRow);
    FEditing->Place();
}

void TPropertyInspector::Resized()
{
    TWinControl::Resized();
    Layout();
}

void TPropertyInspector::SetSelectedRow(int Row)
{
    CloseDropDown();
    if (std::clamp(Row, RowCount() > 0 ? 0 : -1, RowCount() - 1) != SelectedRow()) {
        CancelEdit();
        FRows.SelectRow(Row);
    }
    ScrollIntoView(SelectedRow());
}

bool TPropertyInspector::SelectPath(std::string_view Path)
{
    const int Row = FRows.Reveal(Path);
    if (Row >= 0) SetSelectedRow(Row);
    return Row >= 0;
}

void TPropertyInspector::SetTopRow(int Row)
{
    Row = std::clamp(Row, 0, std::max(0, RowCount() - VisibleRows()));
    if (Row == FTopRow) return;
    FTopRow = Row;
    FScrollBar->SetPosition(Row);
    CloseDropDown();
    Layout();
    Invalidate();
}

void TPropertyInspector::ScrollIntoView(int Row)
{
    if (Row < 0) return;
    if (Row < FTopRow) SetTopRow(Row);
    else if (Row >= FTopRow + VisibleRows()) SetTopRow(Row - VisibleRows() + 1);
}

TRect TPropertyInspector::RowRect(int Row) const
{
    if (Row < FTopRow || Row >= RowCount() || Row >= FTopRow + VisibleRows()) return {};
    const int Top = Border + (Row - FTopRow) * RowHeight;
    return Rect(Border, Top, InnerRight(), Top + RowHeight - 1); // a grid line below
}

TRect TPropertyInspector::NameRect(int Row) const
{
    const TRect R = RowRect(Row);
    if (R.IsEmpty()) return {};
    return Rect(R.Left, R.Top, std::min(NameWidth, R.Right), R.Bottom);
}

TRect TPropertyInspector::ValueRect(int Row) const
{
    const TRect R = RowRect(Row);
    if (R.IsEmpty()) return {};
    int Right = R.Right;
    if (Row == SelectedRow()) {
        const TPropertyAttributes A = RowEditor(Row)->GetAttributes();
        Right -= (A.Contains(paValueList) ? RowHeight : 0) + (A.Contains(paDialog) ? RowHeight : 0);
    }
    return Rect(std::min(NameWidth + 1, R.Right), R.Top, std::max(Right, NameWidth + 1), R.Bottom);
}

TRect TPropertyInspector::DropDownButtonRect() const
{
    const TRect R = RowRect(SelectedRow());
    if (R.IsEmpty() || !RowEditor(SelectedRow())->GetAttributes().Contains(paValueList)) return {};
    return Rect(R.Right - RowHeight, R.Top, R.Right, R.Bottom);
}

TRect TPropertyInspector::EllipsisButtonRect() const
{
    const TRect R = RowRect(SelectedRow());
    if (R.IsEmpty()) return {};
    const TPropertyAttributes A = RowEditor(SelectedRow())->GetAttributes();
    if (!A.Contains(paDialog)) return {};
    const int Right = R.Right - (A.Contains(paValueList) ? RowHeight : 0);
    return Rect(Right - RowHeight, R.Top, Right, R.Bottom);
}

void TPropertyInspector::EditProperty()
{
    const int Row = SelectedRow();
    if (Row < 0 || !RowEditor(Row)->GetAttributes().Contains(paDialog)) return;
    CloseDropDown();
    CancelEdit();
    TInterfacePtr<TPropertyEditor> Editor(RowEditor(Row));
    FEditing->Change([&] { Editor->Edit(); });
}
