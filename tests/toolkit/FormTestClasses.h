#pragma once
// Small classes with property tables of every kind, for the form reader and writer tests.

#include <string>
#include <vector>

#include "platform/toolkit/ClassRegistry.h"
#include "platform/toolkit/WinControl.h"

namespace formtest {

enum TKind { tkOne, tkTwo };
enum TFlag { fA, fB, fC };
inline const char* const KindNames[] = {"tkOne", "tkTwo"};
inline const char* const FlagNames[] = {"fA", "fB", "fC"};

// Which components ran Loaded(), in order.
inline std::vector<std::string>& LoadedLog()
{
    static std::vector<std::string> Log;
    return Log;
}

// A non-visual component.
class TTestComponent : public TComponent {
public:
    using TComponent::TComponent;
    std::string ClassName() const override { return "TTestComponent"; }
    void Loaded() override { LoadedLog().push_back(Name()); }
    int64_t Number = 0;
    std::string Text;
    TKind Kind = tkOne;
    TSet<TFlag> Flags;
    int FontHeight = 0;
    int Limited = 0; // 0..100, its setter raises EConvertError outside
    TNotifyEvent OnFire;
};

class TTestPanel : public TWinControl {
public:
    using TWinControl::TWinControl;
    std::string ClassName() const override { return "TTestPanel"; }
    void Loaded() override { LoadedLog().push_back(Name()); }
    std::string Caption;
};

// A control that holds no children.
class TTestLabel : public TControl {
public:
    using TControl::TControl;
    std::string ClassName() const override { return "TTestLabel"; }
    void Loaded() override { LoadedLog().push_back(Name()); }
    std::string Caption;
};

// A form-like root: read into itself, created by no factory.
class TTestRoot : public TTestPanel {
public:
    using TTestPanel::TTestPanel;
    std::string ClassName() const override { return "TTestRoot"; }
};

template <typename T>
T& As(TComponent& C) { return dynamic_cast<T&>(C); }
template <typename T>
const T& As(const TComponent& C) { return dynamic_cast<const T&>(C); }

inline int64_t IntValue(const TValue& V)
{
    if (const auto* I = std::get_if<int64_t>(&V)) return *I;
    throw EReadError("integer expected");
}

inline std::string StringValue(const TValue& V)
{
    if (const auto* S = std::get_if<std::string>(&V)) return *S;
    throw EReadError("string expected");
}

template <size_t N>
int EnumIndex(const char* const (&Names)[N], const std::string& Name)
{
    for (size_t I = 0; I < N; ++I)
        if (Name == Names[I]) return static_cast<int>(I);
    throw EReadError("unknown value '" + Name + "'");
}

// Int, string and notify-event properties over a member of T.
template <typename T>
TPropInfo IntProp(int64_t T::*Member)
{
    return {[=](TComponent& C, const TValue& V) { As<T>(C).*Member = IntValue(V); },
            [=](const TComponent& C) -> std::optional<TValue> {
                int64_t V = As<T>(C).*Member;
                if (V == 0) return std::nullopt;
                return V;
            },
            nullptr};
}

template <typename T>
TPropInfo StringProp(std::string T::*Member)
{
    return {[=](TComponent& C, const TValue& V) { As<T>(C).*Member = StringValue(V); },
            [=](const TComponent& C) -> std::optional<TValue> {
                const std::string& S = As<T>(C).*Member;
                if (S.empty()) return std::nullopt;
                return S;
            },
            nullptr};
}

template <typename T, typename E>
TPropInfo EventProp(E T::*Member)
{
    return {nullptr, nullptr, [=](TComponent& C, const THandler& H) {
                const E* Handler = std::get_if<E>(&H);
                if (!Handler) return false;
                As<T>(C).*Member = *Handler;
                return true;
            }};
}

inline TPropInfo IntSetter(std::function<void(TComponent&, int)> Set, std::function<int(const TComponent&)> Get)
{
    return {[=](TComponent& C, const TValue& V) { Set(C, static_cast<int>(IntValue(V))); },
            [=](const TComponent& C) -> std::optional<TValue> {
                int V = Get(C);
                if (V == 0) return std::nullopt;
                return int64_t{V};
            },
            nullptr};
}

inline void RegisterTestClasses()
{
    TClassInfo Component{"TTestComponent", nullptr, [](TComponent* Owner) { return new TTestComponent(Owner); }, {}};
    Component.Properties["Number"] = IntProp(&TTestComponent::Number);
    Component.Properties["Text"] = StringProp(&TTestComponent::Text);
    Component.Properties["Kind"] = {
        [](TComponent& C, const TValue& V) {
            const auto* I = std::get_if<TIdent>(&V);
            if (!I) throw EReadError("identifier expected");
            As<TTestComponent>(C).Kind = static_cast<TKind>(EnumIndex(KindNames, I->Name));
        },
        [](const TComponent& C) -> std::optional<TValue> {
            TKind K = As<TTestComponent>(C).Kind;
            if (K == tkOne) return std::nullopt;
            return TIdent{KindNames[K]};
        },
        nullptr};
    Component.Properties["Flags"] = {
        [](TComponent& C, const TValue& V) {
            const auto* S = std::get_if<TSetValue>(&V);
            if (!S) throw EReadError("set expected");
            TSet<TFlag> Flags;
            for (const std::string& M : S->Members) Flags.Include(static_cast<TFlag>(EnumIndex(FlagNames, M)));
            As<TTestComponent>(C).Flags = Flags;
        },
        [](const TComponent& C) -> std::optional<TValue> {
            TSet<TFlag> Flags = As<TTestComponent>(C).Flags;
            if (Flags.Empty()) return std::nullopt;
            TSetValue S;
            for (TFlag F : {fA, fB, fC})
                if (Flags.Contains(F)) S.Members.push_back(FlagNames[F]);
            return S;
        },
        nullptr};
    Component.Properties["Font.Height"] =
        IntSetter([](TComponent& C, int V) { As<TTestComponent>(C).FontHeight = V; },
                  [](const TComponent& C) { return As<TTestComponent>(C).FontHeight; });
    Component.Properties["Limited"] = IntSetter(
        [](TComponent& C, int V) {
            if (V < 0 || V > 100) throw EConvertError(std::to_string(V) + " is out of range");
            As<TTestComponent>(C).Limited = V;
        },
        [](const TComponent& C) { return As<TTestComponent>(C).Limited; });
    Component.Properties["OnFire"] = EventProp(&TTestComponent::OnFire);
    RegisterClass(std::move(Component));

    TClassInfo Control{"TTestControl", nullptr, nullptr, {}};
    Control.Properties["Left"] = IntSetter([](TComponent& C, int V) { As<TControl>(C).SetLeft(V); },
                                           [](const TComponent& C) { return As<TControl>(C).Left(); });
    Control.Properties["Width"] = IntSetter([](TComponent& C, int V) { As<TControl>(C).SetWidth(V); },
                                            [](const TComponent& C) { return As<TControl>(C).Width(); });
    Control.Properties["OnClick"] = EventProp(&TControl::OnClick);
    Control.Properties["OnMouseMove"] = EventProp(&TControl::OnMouseMove);
    const TClassInfo* ControlInfo = RegisterClass(std::move(Control));

    TClassInfo Panel{"TTestPanel", ControlInfo, [](TComponent* Owner) { return new TTestPanel(Owner); }, {}};
    Panel.Properties["Caption"] = StringProp(&TTestPanel::Caption);
    const TClassInfo* PanelInfo = RegisterClass(std::move(Panel));

    TClassInfo Label{"TTestLabel", ControlInfo, [](TComponent* Owner) { return new TTestLabel(Owner); }, {}};
    Label.Properties["Caption"] = StringProp(&TTestLabel::Caption);
    RegisterClass(std::move(Label));

    RegisterClass({"TTestRoot", PanelInfo, nullptr, {}});
}

} // namespace formtest
