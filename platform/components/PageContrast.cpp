#include "platform/components/PageContrast.h"

#include "platform/rtl/SysUtils.h"

namespace {

constexpr std::string_view OwnerPrefix = "Owner.";
constexpr std::string_view ContrastPrefix = "contrast.";
constexpr TContrastKind ContrastKinds[] = {TContrastKind::Text, TContrastKind::LargeText, TContrastKind::Part};

// The kind of pair a relation declares; false for a relation that is not a pair.
bool PairKind(const TPropRelation& Relation, TContrastKind& Kind)
{
    if (!Relation.Name.starts_with(ContrastPrefix)) return false;
    for (const TContrastKind K : ContrastKinds)
        if (Relation.Name == ContrastRelation(K)) {
            Kind = K;
            return true;
        }
    throw EPropertyError("unknown contrast relation " + QuotedInput(Relation.Name));
}

// The colour at Path ("Appearance.TextColor") from Instance.
TPairColour ResolveColour(TPersistent& Instance, std::string_view Path)
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
            return {Object, Prop, static_cast<TColor>(GetOrdProp(*Object, *Prop))};
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
    for (const TClassInfo* C = &Object.ClassInfo(); C; C = C->Parent) Chain.push_back(C);
    for (auto It = Chain.rbegin(); It != Chain.rend(); ++It)
        for (const TPropRelation& Pair : (*It)->Relations) {
            TContrastFinding F;
            if (!PairKind(Pair, F.Kind)) continue;
            F.Component = &Component;
            F.Foreground = ResolveColour(Object, Pair.From);
            F.ForegroundPath = Prefix + Pair.From;
            if (Pair.To.starts_with(OwnerPrefix)) {
                TComponent* Owner = &Object == &Component ? Component.Owner() : nullptr;
                if (!Owner) continue; // nothing to be drawn on yet
                const std::string Rest = Pair.To.substr(OwnerPrefix.size());
                F.Background = ResolveColour(*Owner, Rest);
                F.BackgroundPath = Owner->Name() + "." + Rest;
            } else {
                F.Background = ResolveColour(Object, Pair.To);
                F.BackgroundPath = Prefix + Pair.To;
            }
            F.Ratio = ContrastRatio(F.Foreground.Value, F.Background.Value);
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

} // namespace

std::string ContrastRelation(TContrastKind Kind)
{
    switch (Kind) {
    case TContrastKind::Text: return "contrast.text";
    case TContrastKind::LargeText: return "contrast.large-text";
    case TContrastKind::Part: break;
    }
    return "contrast.part";
}

TColor TContrastFinding::Suggestion(TContrastLevel Level) const
{
    return NearestPassingColour(Foreground.Value, Background.Value, Required(Level));
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
        TComponent& C = *Page.Components(I);
        Collect(C, C, C.Name() + ".", Out);
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
