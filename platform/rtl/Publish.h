#pragma once
// Declaring a class's published properties, beside the class's own code:
//
//   namespace {
//   void Publish(TPublisher<TLabel>& P)
//   {
//       P.String("Caption", &TLabel::Caption, &TLabel::SetCaption, "").Describe("The text shown.");
//       P.Ordinal("AutoSize", TypeInfoBoolean, &TLabel::AutoSize, &TLabel::SetAutoSize, true)
//           .Describe("Whether the label takes the size of its text.");
//   }
//   } // namespace
//
//   QELL_DEFINE_CLASS_INFO(TLabel, Publish, true)
//
// Getters take a const T& (a const member function does), setters a T& and the value
// (a member function taking the value does). Defaults are the constructor's values: a
// new instance writes nothing, which a test checks for every registered class. Every
// property has a description; a redeclared one keeps its ancestor's unless given its own.

#include <functional>
#include <optional>
#include <span>
#include <type_traits>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Set.h"

namespace PublishDetail {

template <typename V>
int64_t ToOrd(const V& Value)
{
    if constexpr (std::is_same_v<V, bool>) return Value ? 1 : 0;
    else if constexpr (std::is_enum_v<V> || std::is_integral_v<V>) return static_cast<int64_t>(Value);
    else return static_cast<int64_t>(Value.Bits()); // a TSet
}

template <typename V>
V FromOrd(int64_t Ord)
{
    if constexpr (std::is_same_v<V, bool>) return Ord != 0;
    else if constexpr (std::is_enum_v<V> || std::is_integral_v<V>) return static_cast<V>(Ord);
    else return V::FromBits(static_cast<uint32_t>(Ord)); // a TSet
}

template <typename T>
T& Cast(TPersistent& Instance)
{
    auto* P = dynamic_cast<T*>(&Instance);
    if (!P) throw EPropertyError("the property does not apply to a " + Instance.ClassName());
    return *P;
}

template <typename T>
const T& Cast(const TPersistent& Instance)
{
    return Cast<T>(const_cast<TPersistent&>(Instance));
}

template <typename G, typename T>
using TValueOf = std::decay_t<std::invoke_result_t<G, const T&>>;

} // namespace PublishDetail

template <typename T>
class TPublisher {
public:
    explicit TPublisher(TClassInfo& Info) : FInfo(Info) {}

    // An integer, named integer (TColor), enumeration, Boolean or set property.
    template <typename G, typename S>
    TPublisher& Ordinal(const char* Name, const TTypeInfo& Type, G Get, S Set,
                        std::optional<PublishDetail::TValueOf<G, T>> Default)
    {
        using V = PublishDetail::TValueOf<G, T>;
        TPropInfo& P = Add(Name, Type);
        if (Default) P.OrdDefault = PublishDetail::ToOrd(*Default);
        P.GetOrd = [Get](const TPersistent& I) {
            return PublishDetail::ToOrd<V>(std::invoke(Get, PublishDetail::Cast<T>(I)));
        };
        P.SetOrd = [Set](TPersistent& I, int64_t Value) {
            std::invoke(Set, PublishDetail::Cast<T>(I), PublishDetail::FromOrd<V>(Value));
        };
        return *this;
    }

    // An ordinal property over a plain field.
    template <typename V>
    TPublisher& Field(const char* Name, const TTypeInfo& Type, V T::*Member, std::type_identity_t<std::optional<V>> Default)
    {
        return Ordinal(
            Name, Type, [Member](const T& C) { return C.*Member; }, [Member](T& C, V Value) { C.*Member = Value; },
            Default);
    }

    template <typename G, typename S>
    TPublisher& String(const char* Name, G Get, S Set, std::optional<std::string> Default)
    {
        TPropInfo& P = Add(Name, TypeInfoString);
        P.StrDefault = std::move(Default);
        P.GetStr = [Get](const TPersistent& I) { return std::string(std::invoke(Get, PublishDetail::Cast<T>(I))); };
        P.SetStr = [Set](TPersistent& I, const std::string& V) { std::invoke(Set, PublishDetail::Cast<T>(I), V); };
        return *this;
    }

    // A persistent sub-object that the instance owns; Get answers it, mutable.
    template <typename G>
    TPublisher& Object(const char* Name, const TTypeInfo& Type, G Get)
    {
        TPropInfo& P = Add(Name, Type);
        P.GetObj = [Get](TPersistent& I) -> TPersistent* { return &std::invoke(Get, PublishDetail::Cast<T>(I)); };
        return *this;
    }

    // An event field; it takes handlers of exactly its type.
    template <typename E>
    TPublisher& Event(const char* Name, const TTypeInfo& Type, E T::*Member)
    {
        TPropInfo& P = Add(Name, Type);
        P.SetMethod = [Member](TPersistent& I, const std::any& Handler) {
            const E* H = std::any_cast<E>(&Handler);
            if (!H) return false;
            PublishDetail::Cast<T>(I).*Member = *H;
            return true;
        };
        return *this;
    }

    // Narrows the last property's accepted values.
    TPublisher& Range(int64_t Min, int64_t Max)
    {
        FInfo.Properties.back().MinValue = Min;
        FInfo.Properties.back().MaxValue = Max;
        return *this;
    }

    // The last property's one-sentence description.
    TPublisher& Describe(const char* Text)
    {
        FInfo.Properties.back().Description = Text;
        return *this;
    }

    // Declares the relation Name from the property at path From to the one at path To
    // (see TPropRelation).
    TPublisher& Relate(std::string Name, const char* From, const char* To)
    {
        FInfo.Relations.push_back({std::move(Name), From, To});
        return *this;
    }

    // Writes the last property only while Stored answers true.
    template <typename F>
    TPublisher& StoredWhen(F Stored)
    {
        FInfo.Properties.back().Stored = [Stored](const TPersistent& I) {
            return Stored(PublishDetail::Cast<T>(I));
        };
        return *this;
    }

    // A copy of an ancestor's property in this class, to change (a default of its own);
    // raises EPropertyError when no ancestor declares it.
    TPropInfo& Redeclare(const char* Name)
    {
        const TPropInfo* Inherited = FInfo.Parent ? FInfo.Parent->FindProperty(Name) : nullptr;
        if (!Inherited) throw EPropertyError(std::string("no inherited property ") + Name + " to redeclare");
        FInfo.Properties.push_back(*Inherited);
        return FInfo.Properties.back();
    }

private:
    TPropInfo& Add(const char* Name, const TTypeInfo& Type)
    {
        TPropInfo P;
        P.Name = Name;
        P.PropType = &Type;
        P.MinValue = Type.MinValue;
        P.MaxValue = Type.MaxValue;
        FInfo.Properties.push_back(std::move(P));
        return FInfo.Properties.back();
    }

    TClassInfo& FInfo;
};

// T's metaclass: named Name, derived from T::inherited's, with the properties that
// Publish declares. Creatable: the form reader may create instances (T must be a
// component constructed from its owner).
template <typename T, typename F>
TClassInfo MakeClassInfo(const char* Name, F Publish, bool Creatable = false)
{
    TClassInfo Info;
    Info.Name = Name;
    Info.Parent = &T::inherited::StaticClassInfo();
    if constexpr (std::is_constructible_v<T, TComponent*> && std::is_base_of_v<TComponent, T>) {
        if (Creatable) Info.CreateComponent = [](TComponent* Owner) -> TComponent* { return new T(Owner); };
    }
    TPublisher<T> P(Info);
    Publish(P);
    return Info;
}

// For classes that publish nothing of their own.
template <typename T>
void PublishNothing(TPublisher<T>&)
{
}

template <typename T>
TClassInfo MakeClassInfo(const char* Name)
{
    return MakeClassInfo<T>(Name, PublishNothing<T>);
}

// Defines Class::StaticClassInfo(), the class's metaclass made once by MakeClassInfo
// from the class's name and the rest of the arguments (Publish, Creatable), or with
// nothing published when there are none.
#define QELL_DEFINE_CLASS_INFO(Class, ...)                                                    \
    const TClassInfo& Class::StaticClassInfo()                                                \
    {                                                                                         \
        static const TClassInfo Info = MakeClassInfo<Class>(#Class __VA_OPT__(, ) __VA_ARGS__); \
        return Info;                                                                          \
    }
