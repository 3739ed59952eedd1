#pragma once
// Small classes with published properties of every kind, for the form reader and
// writer tests.

#include <string>
#include <vector>

#include "platform/graphics/Font.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/WinControl.h"
#include "platform/toolkit/resources/ClassRegistry.h"

namespace formtest {

enum TKind { tkOne, tkTwo };
enum TFlag { fA, fB, fC };
inline constexpr const char* KindNames[] = {"tkOne", "tkTwo"};
inline constexpr const char* FlagNames[] = {"fA", "fB", "fC"};
inline const TTypeInfo TypeInfoTKind = EnumTypeInfo("TKind", KindNames);
inline const TTypeInfo TypeInfoTFlag = EnumTypeInfo("TFlag", FlagNames);
inline const TTypeInfo TypeInfoTFlags = SetTypeInfo("TFlags", TypeInfoTFlag);

// Which components ran Loaded(), in order.
inline std::vector<std::string>& LoadedLog()
{
    static std::vector<std::string> Log;
    return Log;
}

// An item of a collection, and the collection.
class TTestItem : public TCollectionItem {
    QELL_CLASS(TTestItem, TCollectionItem)
    using TCollectionItem::TCollectionItem;
    std::string Caption;
    TColor Color = clBlack;
};

inline QELL_DEFINE_CLASS_INFO(TTestItem, [](TPublisher<TTestItem>& P) {
    P.String(
        "Caption", [](const TTestItem& C) { return C.Caption; },
        [](TTestItem& C, const std::string& V) { C.Caption = V; }, "");
    P.Field("Color", TypeInfoTColor, &TTestItem::Color, clBlack);
})

class TTestItems : public TCollectionOf<TTestItem> {
    QELL_CLASS(TTestItems, TCollection)
};

inline QELL_DEFINE_CLASS_INFO(TTestItems)

inline const TTypeInfo TypeInfoTTestItems = ClassTypeInfo("TTestItems", &TTestItems::StaticClassInfo);

// A non-visual component.
class TTestComponent : public TComponent {
    QELL_CLASS(TTestComponent, TComponent)
    using TComponent::TComponent;
    void Loaded() override { LoadedLog().push_back(Name()); }
    int64_t Number = 0;
    std::string Text;
    TKind Kind = tkOne;
    TSet<TFlag> Flags;
    TFont Font;
    TTestItems Items;
    int Limited = 0; // 0..100, its setter raises EConvertError outside
    TNotifyEvent OnFire;
    int GetLimited() const { return Limited; }
    void SetLimited(int V)
    {
        if (V < 0 || V > 100) throw EConvertError(std::to_string(V) + " is out of range");
        Limited = V;
    }
};

inline QELL_DEFINE_CLASS_INFO(TTestComponent, [](TPublisher<TTestComponent>& P) {
    P.Field("Number", TypeInfoInt64, &TTestComponent::Number, 0);
    P.String(
        "Text", [](const TTestComponent& C) { return C.Text; },
        [](TTestComponent& C, const std::string& V) { C.Text = V; }, "");
    P.Field("Kind", TypeInfoTKind, &TTestComponent::Kind, tkOne);
    P.Field("Flags", TypeInfoTFlags, &TTestComponent::Flags, TSet<TFlag>{});
    P.Object("Font", TypeInfoTFont, [](TTestComponent& C) -> TFont& { return C.Font; });
    P.Object("Items", TypeInfoTTestItems, [](TTestComponent& C) -> TTestItems& { return C.Items; });
    P.Ordinal("Limited", TypeInfoInteger, &TTestComponent::GetLimited, &TTestComponent::SetLimited, 0);
    P.Event("OnFire", TypeInfoTNotifyEvent, &TTestComponent::OnFire);
}, true)

class TTestPanel : public TWinControl {
    QELL_CLASS(TTestPanel, TWinControl)
    using TWinControl::TWinControl;
    void Loaded() override { LoadedLog().push_back(Name()); }
    std::string Caption;
};

inline void PublishCaption(TPublisher<TTestPanel>& P)
{
    P.String(
        "Caption", [](const TTestPanel& C) { return C.Caption; },
        [](TTestPanel& C, const std::string& V) { C.Caption = V; }, "");
}

inline QELL_DEFINE_CLASS_INFO(TTestPanel, PublishCaption, true)

// A control that holds no children.
class TTestLabel : public TControl {
    QELL_CLASS(TTestLabel, TControl)
    using TControl::TControl;
    void Loaded() override { LoadedLog().push_back(Name()); }
    std::string Caption;
};

inline QELL_DEFINE_CLASS_INFO(TTestLabel, [](TPublisher<TTestLabel>& P) {
    P.String(
        "Caption", [](const TTestLabel& C) { return C.Caption; },
        [](TTestLabel& C, const std::string& V) { C.Caption = V; }, "");
}, true)

// A form-like root: read into itself, created by no factory.
class TTestRoot : public TTestPanel {
    QELL_CLASS(TTestRoot, TTestPanel)
    using TTestPanel::TTestPanel;
};

inline QELL_DEFINE_CLASS_INFO(TTestRoot)

inline void RegisterTestClasses()
{
    for (const TClassInfo* C : {&TTestComponent::StaticClassInfo(), &TTestPanel::StaticClassInfo(),
                                &TTestLabel::StaticClassInfo(), &TTestRoot::StaticClassInfo()})
        RegisterClass(*C);
}

template <typename T>
T& As(TComponent& C) { return dynamic_cast<T&>(C); }

} // namespace formtest
