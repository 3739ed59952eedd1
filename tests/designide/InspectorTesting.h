#pragma once
// Objects with properties of every kind and a form with an inspector, for the tests of
// the design-time library and of the colour editor.

#include <memory>
#include <string>
#include <vector>

#include "colour/IWColors.h"
#include "platform/designide/EditorRegistry.h"
#include "platform/designide/PropertyInspector.h"
#include "platform/graphics/Font.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/Form.h"
#include "tests/support/FormTesting.h"

namespace inspecttest {

enum TShape { shCircle, shSquare, shTriangle };
inline constexpr const char* ShapeNames[] = {"shCircle", "shSquare", "shTriangle"};
inline const TTypeInfo TypeInfoTShape = EnumTypeInfo("TShape", ShapeNames);
inline const TTypeInfo TypeInfoTShapes = SetTypeInfo("TShapes", TypeInfoTShape);

class TSlot : public TCollectionItem {
    QELL_CLASS(TSlot, TCollectionItem)
    using TCollectionItem::TCollectionItem;
    TIWColor TextColor = clWindowText;
    int Value = 0;
};

inline QELL_DEFINE_CLASS_INFO(TSlot, [](TPublisher<TSlot>& P) {
    P.Field("TextColor", TypeInfoTIWColor, &TSlot::TextColor, clWindowText);
    P.Field("Value", TypeInfoInteger, &TSlot::Value, 0).Range(0, 100);
})

class TSlots : public TCollectionOf<TSlot> {
    QELL_CLASS(TSlots, TCollection)
};

inline QELL_DEFINE_CLASS_INFO(TSlots)

inline const TTypeInfo TypeInfoTSlots = ClassTypeInfo("TSlots", &TSlots::StaticClassInfo);

// A component with a property of each kind: the inspector's rows are, in order,
// Name, Caption, Count, Shape, Shapes, Visible, Tint (TColor), Paint (TIWColor),
// Font (Name, Height, Color), Slots.
class TGadget : public TComponent {
    QELL_CLASS(TGadget, TComponent)
    using TComponent::TComponent;
    std::string Caption;
    int Count = 0;
    TShape Shape = shCircle;
    TSet<TShape> Shapes;
    bool Visible = true;
    TColor Tint = clBtnFace;
    TIWColor Paint = clWhite;
    TFont Font;
    TSlots Slots;
};

inline QELL_DEFINE_CLASS_INFO(TGadget, [](TPublisher<TGadget>& P) {
    P.String(
        "Caption", [](const TGadget& G) { return G.Caption; },
        [](TGadget& G, const std::string& V) { G.Caption = V; }, "");
    P.Field("Count", TypeInfoInteger, &TGadget::Count, 0).Range(0, 1000);
    P.Field("Shape", TypeInfoTShape, &TGadget::Shape, shCircle);
    P.Field("Shapes", TypeInfoTShapes, &TGadget::Shapes, TSet<TShape>{});
    P.Field("Visible", TypeInfoBoolean, &TGadget::Visible, true);
    P.Field("Tint", TypeInfoTColor, &TGadget::Tint, clBtnFace);
    P.Field("Paint", TypeInfoTIWColor, &TGadget::Paint, clWhite);
    P.Object("Font", TypeInfoTFont, [](TGadget& G) -> TFont& { return G.Font; });
    P.Object("Slots", TypeInfoTSlots, [](TGadget& G) -> TSlots& { return G.Slots; });
}, true)

// A descendant, for the registry's class rules.
class TBigGadget : public TGadget {
    QELL_CLASS(TBigGadget, TGadget)
    using TGadget::TGadget;
};

inline QELL_DEFINE_CLASS_INFO(TBigGadget, PublishNothing<TBigGadget>, true)

// Counts the edits the editors report, and keeps each object's change.
struct TDesignerProbe : IDesigner {
    int Modifications = 0;
    std::vector<TPropertyChange> Changes;
    void PropertyChanged(const TPropertyChange& C) override { Changes.push_back(C); }
    void Modified() override { ++Modifications; }
};

// A form with an inspector filling it, showing Gadget.
struct TInspectorForm {
    TForm Form{nullptr};
    TPropertyInspector* Inspector;
    TGadget Gadget{nullptr};
    TDesignerProbe Designer;

    TInspectorForm()
    {
        Form.SetBounds(0, 0, 300, 420);
        Inspector = Place<TPropertyInspector>(Form, Form, 0, 0, 300, 420);
        Inspector->SetName("Inspector");
        Gadget.SetName("Gadget1");
        Gadget.Slots.Add()->Value = 1;
        Gadget.Slots.Add()->Value = 2;
        Inspector->Designer = &Designer;
        Inspector->SetSelection({&Gadget});
    }
    ~TInspectorForm() { ResetBackEnd(); }

    // Runs the form on Script; the back end must report no failure.
    void Run(const std::string& Script)
    {
        const THeadlessBackEnd& Back = UseScript(Script);
        Form.ShowModal();
        EXPECT_FALSE(Back.Failed()) << Back.ScriptError();
    }
    int Row(const char* Path) const { return Inspector->FindRow(Path); }
    // A script line that right-clicks the name of the row at Path, as the rows are now.
    std::string RightClick(const char* Path) const
    {
        const TRect R = Inspector->NameRect(Row(Path));
        EXPECT_FALSE(R.IsEmpty()) << Path;
        return "rclick Inspector " + std::to_string((R.Left + R.Right) / 2) + " " +
               std::to_string((R.Top + R.Bottom) / 2) + "\n";
    }
};

} // namespace inspecttest
