#include "platform/components/PageContrast.h"

#include "platform/rtl/SysUtils.h"

namespace {

constexpr std::string_view OwnerPrefix = "Owner.";

struct TColourAt {
    TColor Value;
    const TTypeInfo* Type;
};

// The colour at Path ("Appearance.TextColor") from Instance.
TColourAt ResolveColour(TPersistent& Instance, std::string_view Path)
{
    TPersistent* Object = &Instance;
    for (;;) {
        const size_t Dot = Path.find('.');
        const std::string_view Name = Path.substr(0, Dot);
        const TPropInfo* Prop = GetPropInfo(*Object, Name);
        if (!Prop) throw EPropertyError(Instance.ClassName() + " has no property " + std::string(Name));
        if (Dot == std::string_view::npos) {
            if (Prop->Kind() != TTypeKind::Integer)
                throw EPropertyError(Instance.ClassName() + "." + std::string(Name) + " is not a colour");
            return {static_cast<TColor>(GetOrdProp(*Object, *Prop)), Prop->PropType};
        }
        if (Prop->Kind() != TTypeKind::Class)
            throw EPropertyError(Instance.ClassName() + "." + std::string(Name) + " has no sub-properties");
        Object = GetObjectProp(*Object, *Prop);
        Path.remove_prefix(Dot + 1);
    }
}

// Adds the pairs declared for Object's class and ancestors, then walks into its
// sub-objects and collection items. Prefix is Object's path from the component's name.
void Collect(TComponent& Component, TPersistent& Object, const std::string& Prefix,
             std::vector<TContrastFinding>& Out)
{
    std::vector<const TClassInfo*> Chain;
    for (const TClassInfo* C = &Object.ClassInfo(); C; C = C->Parent) Chain.insert(Chain.begin(), C);
    for (const TClassInfo* C : Chain)
        for (const TContrastPair& Pair : C->ContrastPairs) {
            TContrastFinding F;
            F.Component = &Component;
            F.Kind = Pair.Kind;
            const TColourAt Fg = ResolveColour(Object, Pair.Foreground);
            F.ForegroundPath = Prefix + Pair.Foreground;
            TColourAt Bg{};
            if (Pair.Background.starts_with(OwnerPrefix)) {
                TComponent* Owner = &Object == &Component ? Component.Owner() : nullptr;
                if (!Owner) continue; // nothing to be drawn on yet
                const std::string Rest = Pair.Background.substr(OwnerPrefix.size());
                Bg = ResolveColour(*Owner, Rest);
                F.BackgroundPath = Owner->Name() + "." + Rest;
            } else {
                Bg = ResolveColour(Object, Pair.Background);
                F.BackgroundPath = Prefix + Pair.Background;
            }
            F.Foreground = Fg.Value;
            F.ForegroundType = Fg.Type;
            F.Background = Bg.Value;
            F.BackgroundType = Bg.Type;
            F.Ratio = ContrastRatio(F.Foreground, F.Background);
            Out.push_back(std::move(F));
        }
    for (const TPropInfo* Prop : Object.ClassInfo().AllProperties()) {
        if (Prop->Kind() != TTypeKind::Class) continue;
        TPersistent* Sub = GetObjectProp(Object, *Prop);
        if (!Sub) continue;
        const std::string SubPath = Prefix + Prop->Name;
        if (auto* Items = dynamic_cast<TCollection*>(Sub)) {
            for (int I = 0; I < Items->Count(); ++I)
                Collect(Component, *Items->Items(I), SubPath + "[" + std::to_string(I) + "].", Out);
        } else {
            Collect(Component, *Sub, SubPath + ".", Out);
        }
    }
}

std::string ColourText(TColor Value, const TTypeInfo* Type)
{
    return Type && Type->IntToText ? Type->IntToText(Value) : std::to_string(Value);
}

} // namespace

std::string TContrastFinding::ForegroundText() const
{
    return ColourText(Foreground, ForegroundType);
}

std::string TContrastFinding::BackgroundText() const
{
    return ColourText(Background, BackgroundType);
}

std::string TContrastFinding::SuggestionText(TContrastLevel Level) const
{
    return ColourText(NearestPassingColour(Foreground, Background, Required(Level)), ForegroundType);
}

std::vector<TContrastFinding> ComponentContrast(TComponent& Component)
{
    std::vector<TContrastFinding> Out;
    Collect(Component, Component, Component.Name() + ".", Out);
    return Out;
}

std::vector<TContrastFinding> PageContrast(TQellPage& Page)
{
    std::vector<TContrastFinding> Out;
    for (int I = 0; I < Page.ComponentCount(); ++I) {
        std::vector<TContrastFinding> Own = ComponentContrast(*Page.Components(I));
        Out.insert(Out.end(), std::make_move_iterator(Own.begin()), std::make_move_iterator(Own.end()));
    }
    return Out;
}

std::vector<TContrastFinding> PairsOfColour(const std::vector<TContrastFinding>& Findings, std::string_view Path)
{
    std::vector<TContrastFinding> Out;
    for (const TContrastFinding& F : Findings)
        if (SameText(F.ForegroundPath, Path) || SameText(F.BackgroundPath, Path)) Out.push_back(F);
    return Out;
}
