// The toolkit's classes as form resources see them: which classes the reader may
// create, and their published properties.

#include <mutex>

#include "platform/toolkit/Button.h"
#include "platform/toolkit/ClassRegistry.h"
#include "platform/toolkit/DrawGrid.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/PageControl.h"
#include "platform/toolkit/PaintBox.h"
#include "platform/toolkit/PropertyHelpers.h"
#include "platform/toolkit/StatusBar.h"
#include "platform/toolkit/TrackBar.h"

namespace {

using TProps = decltype(TClassInfo::Properties);

template <typename T>
std::function<TComponent*(TComponent*)> Factory()
{
    return [](TComponent* Owner) -> TComponent* { return new T(Owner); };
}

template <typename T>
TPropInfo CaptionProperty()
{
    return StringProperty<T>([](const T& C) { return C.Caption(); },
                             [](T& C, const std::string& V) { C.SetCaption(V); });
}

// Color and ParentColor with a class's own defaults. Setting a colour stops following
// the parent's.
template <typename T>
void AddColor(TProps& P, TColor Default, bool ParentDefault)
{
    P["Color"] = StoredWhen<T>(ColorProperty<T>([](const T& C) { return C.Color; },
                                                [](T& C, TColor V) {
                                                    C.Color = V;
                                                    C.ParentColor = false;
                                                    C.Invalidate();
                                                },
                                                Default),
                               [](const T& C) { return !C.ParentColor; });
    P["ParentColor"] = BooleanProperty<T>([](const T& C) { return C.ParentColor; },
                                          [](T& C, bool V) {
                                              C.ParentColor = V;
                                              C.Invalidate();
                                          },
                                          ParentDefault);
}

void AddControl(TProps& P)
{
    auto Always = std::nullopt;
    P["Left"] = IntegerProperty<TControl>([](const TControl& C) { return C.Left(); },
                                          [](TControl& C, int V) { C.SetLeft(V); }, Always, -MaxCoordinate,
                                          MaxCoordinate);
    P["Top"] = IntegerProperty<TControl>([](const TControl& C) { return C.Top(); },
                                         [](TControl& C, int V) { C.SetTop(V); }, Always, -MaxCoordinate,
                                         MaxCoordinate);
    P["Width"] = IntegerProperty<TControl>([](const TControl& C) { return C.Width(); },
                                           [](TControl& C, int V) { C.SetWidth(V); }, Always, 0, MaxCoordinate);
    P["Height"] = IntegerProperty<TControl>([](const TControl& C) { return C.Height(); },
                                            [](TControl& C, int V) { C.SetHeight(V); }, Always, 0, MaxCoordinate);
    P["Visible"] = BooleanProperty<TControl>([](const TControl& C) { return C.Visible(); },
                                             [](TControl& C, bool V) { C.SetVisible(V); }, true);
    P["Enabled"] = BooleanProperty<TControl>([](const TControl& C) { return C.Enabled(); },
                                             [](TControl& C, bool V) { C.SetEnabled(V); }, true);
    P["Anchors"] = SetField<TControl, TAnchorKind>(&TControl::Anchors, {"akLeft", "akTop", "akRight", "akBottom"},
                                                   TAnchors{akLeft, akTop});
    AddColor<TControl>(P, clBtnFace, true);

    // Setting any part of the font stops following the parent's.
    const TFont Default;
    auto OwnFont = [](const TControl& C) { return !C.ParentFont; };
    P["Font.Name"] = StoredWhen<TControl>(StringProperty<TControl>([](const TControl& C) { return C.Font.Name; },
                                                                   [](TControl& C, const std::string& V) {
                                                                       C.Font.Name = V;
                                                                       C.ParentFont = false;
                                                                       C.Invalidate();
                                                                   },
                                                                   Default.Name),
                                          OwnFont);
    P["Font.Height"] = StoredWhen<TControl>(IntegerProperty<TControl>([](const TControl& C) { return C.Font.Height; },
                                                                      [](TControl& C, int V) {
                                                                          C.Font.Height = V;
                                                                          C.ParentFont = false;
                                                                          C.Invalidate();
                                                                      },
                                                                      Default.Height, -1000, 1000),
                                            OwnFont);
    P["Font.Color"] = StoredWhen<TControl>(ColorProperty<TControl>([](const TControl& C) { return C.Font.Color; },
                                                                   [](TControl& C, TColor V) {
                                                                       C.Font.Color = V;
                                                                       C.ParentFont = false;
                                                                       C.Invalidate();
                                                                   },
                                                                   Default.Color),
                                           OwnFont);
    P["ParentFont"] = BooleanProperty<TControl>([](const TControl& C) { return C.ParentFont; },
                                                [](TControl& C, bool V) {
                                                    C.ParentFont = V;
                                                    C.Invalidate();
                                                },
                                                true);

    P["OnClick"] = EventProperty(&TControl::OnClick);
    P["OnMouseDown"] = EventProperty(&TControl::OnMouseDown);
    P["OnMouseMove"] = EventProperty(&TControl::OnMouseMove);
    P["OnMouseUp"] = EventProperty(&TControl::OnMouseUp);
}

void AddWinControl(TProps& P)
{
    P["TabOrder"] = StoredWhen<TWinControl>(
        IntegerProperty<TWinControl>([](const TWinControl& C) { return C.TabOrder(); },
                                     [](TWinControl& C, int V) { C.SetTabOrder(V); }, std::nullopt, 0),
        [](const TWinControl& C) { return C.TabOrder() >= 0; });
    P["TabStop"] = BooleanField(&TWinControl::TabStop, false);
}

// Focusable controls stop at Tab unless told otherwise.
void AddTabStop(TProps& P)
{
    P["TabStop"] = BooleanField(&TWinControl::TabStop, true);
}

void AddForm(TProps& P)
{
    P["Caption"] = CaptionProperty<TForm>();
    P["ClientWidth"] = IntegerProperty<TForm>([](const TForm& F) { return F.ClientWidth(); },
                                              [](TForm& F, int V) { F.SetClientWidth(V); }, std::nullopt, 0,
                                               MaxFormSize);
    P["ClientHeight"] = IntegerProperty<TForm>([](const TForm& F) { return F.ClientHeight(); },
                                               [](TForm& F, int V) { F.SetClientHeight(V); }, std::nullopt, 0,
                                               MaxFormSize);
    // The client size says it all; the outer size is accepted but not written.
    auto Never = [](const TForm&) { return false; };
    P["Width"] = StoredWhen<TForm>(IntegerProperty<TForm>([](const TForm& F) { return F.Width(); },
                                                          [](TForm& F, int V) { F.SetWidth(V); }, std::nullopt, 0,
                                                          MaxFormSize),
                                   Never);
    P["Height"] = StoredWhen<TForm>(IntegerProperty<TForm>([](const TForm& F) { return F.Height(); },
                                                           [](TForm& F, int V) { F.SetHeight(V); }, std::nullopt, 0,
                                                          MaxFormSize),
                                    Never);
    AddColor<TForm>(P, clBtnFace, false);
    P["ParentFont"] = BooleanField(&TControl::ParentFont, false);
    P["BorderStyle"] = EnumField<TForm, TBorderStyle>(&TForm::BorderStyle, {"bsNone", "bsSingle", "bsSizeable", "bsDialog"},
                                                      bsSizeable);
    P["Position"] = EnumField<TForm, TPosition>(
        &TForm::Position,
        {"poDesigned", "poDefault", "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"},
        poDesigned);
    P["PixelsPerInch"] = IntegerField(&TForm::PixelsPerInch, 96, 1, 10000);
    P["OnCreate"] = EventProperty(&TForm::OnCreate);
    P["OnDestroy"] = EventProperty(&TForm::OnDestroy);
}

// A page's bounds belong to its page control; a resource that sets them is wrong.
TPropInfo PageBound()
{
    TPropInfo Info;
    Info.Set = [](TComponent&, const TValue&) {
        throw EReadError("a page's bounds are set by its page control");
    };
    Info.Get = [](const TComponent&) -> std::optional<TValue> { return std::nullopt; };
    return Info;
}

} // namespace

void RegisterToolkitClasses()
{
    static std::once_flag Once;
    std::call_once(Once, [] {
        TClassInfo Control{"TControl", nullptr, nullptr, {}};
        AddControl(Control.Properties);
        const TClassInfo* ControlInfo = RegisterClass(std::move(Control));

        TClassInfo Win{"TWinControl", ControlInfo, nullptr, {}};
        AddWinControl(Win.Properties);
        const TClassInfo* WinInfo = RegisterClass(std::move(Win));

        TClassInfo Form{"TForm", WinInfo, nullptr, {}};
        AddForm(Form.Properties);
        RegisterClass(std::move(Form));

        TClassInfo Label{"TLabel", ControlInfo, Factory<TLabel>(), {}};
        Label.Properties["Caption"] = CaptionProperty<TLabel>();
        Label.Properties["AutoSize"] = BooleanProperty<TLabel>([](const TLabel& L) { return L.AutoSize(); },
                                                               [](TLabel& L, bool V) { L.SetAutoSize(V); }, true);
        RegisterClass(std::move(Label));

        TClassInfo Button{"TButton", WinInfo, Factory<TButton>(), {}};
        AddTabStop(Button.Properties);
        Button.Properties["Caption"] = CaptionProperty<TButton>();
        Button.Properties["Default"] = BooleanField(&TButton::Default, false);
        Button.Properties["Cancel"] = BooleanField(&TButton::Cancel, false);
        Button.Properties["ModalResult"] = IntegerField(&TButton::ModalResult, mrNone);
        RegisterClass(std::move(Button));

        TClassInfo Edit{"TEdit", WinInfo, Factory<TEdit>(), {}};
        AddTabStop(Edit.Properties);
        AddColor<TEdit>(Edit.Properties, clWindow, false);
        Edit.Properties["Text"] = StringProperty<TEdit>([](const TEdit& E) { return E.Text(); },
                                                        [](TEdit& E, const std::string& V) { E.SetText(V); });
        Edit.Properties["OnChange"] = EventProperty(&TEdit::OnChange);
        RegisterClass(std::move(Edit));

        TClassInfo Pages{"TPageControl", WinInfo, Factory<TPageControl>(), {}};
        AddTabStop(Pages.Properties);
        Pages.Properties["ActivePageIndex"] = StoredWhen<TPageControl>(
            IntegerProperty<TPageControl>([](const TPageControl& P) { return P.ActivePageIndex(); },
                                          [](TPageControl& P, int V) { P.SetActivePageIndex(V); }, std::nullopt, -1),
            [](const TPageControl& P) { return P.ActivePageIndex() > 0; });
        Pages.Properties["OnChange"] = EventProperty(&TPageControl::OnChange);
        RegisterClass(std::move(Pages));

        TClassInfo Sheet{"TTabSheet", WinInfo, Factory<TTabSheet>(), {}};
        Sheet.Properties["Caption"] = CaptionProperty<TTabSheet>();
        for (const char* Bound : {"Left", "Top", "Width", "Height"}) Sheet.Properties[Bound] = PageBound();
        // The page control shows the active page and hides the others.
        Sheet.Properties["Visible"] = StoredWhen<TControl>(ControlInfo->Properties.at("Visible"),
                                                           [](const TControl&) { return false; });
        RegisterClass(std::move(Sheet));

        TClassInfo Status{"TStatusBar", WinInfo, Factory<TStatusBar>(), {}};
        Status.Properties["SimplePanel"] = BooleanField(&TStatusBar::SimplePanel, true);
        Status.Properties["SimpleText"] = StringProperty<TStatusBar>(
            [](const TStatusBar& S) { return S.SimpleText(); },
            [](TStatusBar& S, const std::string& V) { S.SetSimpleText(V); });
        RegisterClass(std::move(Status));

        TClassInfo PaintBox{"TPaintBox", ControlInfo, Factory<TPaintBox>(), {}};
        PaintBox.Properties["OnPaint"] = EventProperty(&TPaintBox::OnPaint);
        RegisterClass(std::move(PaintBox));

        TClassInfo Track{"TTrackBar", WinInfo, Factory<TTrackBar>(), {}};
        AddTabStop(Track.Properties);
        Track.Properties["Orientation"] = EnumField<TTrackBar, TTrackBarOrientation>(
            &TTrackBar::Orientation, {"trHorizontal", "trVertical"}, trHorizontal);
        Track.Properties["Min"] = IntegerProperty<TTrackBar>([](const TTrackBar& T) { return T.Min(); },
                                                             [](TTrackBar& T, int V) { T.SetMin(V); }, 0);
        Track.Properties["Max"] = IntegerProperty<TTrackBar>([](const TTrackBar& T) { return T.Max(); },
                                                             [](TTrackBar& T, int V) { T.SetMax(V); }, 10);
        Track.Properties["Position"] = IntegerProperty<TTrackBar>([](const TTrackBar& T) { return T.Position(); },
                                                                  [](TTrackBar& T, int V) { T.SetPosition(V); }, 0);
        Track.Properties["Frequency"] = IntegerField(&TTrackBar::Frequency, 1, 0);
        Track.Properties["PageSize"] = IntegerField(&TTrackBar::PageSize, 2, 0);
        Track.Properties["OnChange"] = EventProperty(&TTrackBar::OnChange);
        RegisterClass(std::move(Track));

        TClassInfo Grid{"TDrawGrid", WinInfo, Factory<TDrawGrid>(), {}};
        auto& G = Grid.Properties;
        AddTabStop(G);
        AddColor<TDrawGrid>(G, clWindow, false);
        G["ColCount"] = IntegerProperty<TDrawGrid>([](const TDrawGrid& D) { return D.ColCount(); },
                                                   [](TDrawGrid& D, int V) { D.SetColCount(V); }, 5, 1, 10000);
        G["RowCount"] = IntegerProperty<TDrawGrid>([](const TDrawGrid& D) { return D.RowCount(); },
                                                   [](TDrawGrid& D, int V) { D.SetRowCount(V); }, 5, 1, 10000);
        G["FixedCols"] = IntegerField(&TDrawGrid::FixedCols, 0, 0, 10000);
        G["FixedRows"] = IntegerField(&TDrawGrid::FixedRows, 0, 0, 10000);
        G["DefaultColWidth"] = IntegerField(&TDrawGrid::DefaultColWidth, 64, 1, 10000);
        G["DefaultRowHeight"] = IntegerField(&TDrawGrid::DefaultRowHeight, 24, 1, 10000);
        G["Options"] = SetField<TDrawGrid, TGridOption>(
            &TDrawGrid::Options,
            {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect", "goEditing"},
            TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine});
        G["OnDrawCell"] = EventProperty(&TDrawGrid::OnDrawCell);
        G["OnSelectCell"] = EventProperty(&TDrawGrid::OnSelectCell);
        RegisterClass(std::move(Grid));
    });
}

void RegisterFormClass(const std::string& Name)
{
    RegisterToolkitClasses();
    if (FindClass(Name)) return;
    RegisterClass(TClassInfo{Name, FindClass("TForm"), nullptr, {}});
}
