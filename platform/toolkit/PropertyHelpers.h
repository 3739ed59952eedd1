#pragma once
// Building blocks for published property tables. Each helper turns a getter and a
// setter into a TPropInfo that checks the value's kind and range (EReadError naming the
// offending word) and answers nullopt from Get at the default, so the writer leaves
// the property out. A default of nullopt means "always written".
//
//   Info.Properties["Caption"] = StringProperty<TLabel>(
//       [](const TLabel& L) { return L.Caption(); },
//       [](TLabel& L, const std::string& V) { L.SetCaption(V); });

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <strings.h>
#include <vector>

#include "platform/rtl/Set.h"
#include "platform/toolkit/ClassRegistry.h"
#include "platform/toolkit/Colors.h"

namespace PropertyDetail {

template <typename T>
T& Target(TComponent& C)
{
    auto* P = dynamic_cast<T*>(&C);
    if (!P) throw EReadError("the property does not apply to a " + C.ClassName());
    return *P;
}

template <typename T>
const T& Target(const TComponent& C)
{
    return Target<T>(const_cast<TComponent&>(C));
}

inline bool SameText(const std::string& A, const std::string& B)
{
    return A.size() == B.size() && strncasecmp(A.data(), B.data(), A.size()) == 0;
}

// The index of Name in Names, ignoring case, or raises naming it.
inline size_t IndexOfName(const std::vector<std::string>& Names, const std::string& Name)
{
    for (size_t I = 0; I < Names.size(); ++I)
        if (SameText(Names[I], Name)) return I;
    throw EReadError("'" + Name + "' is not a valid value");
}

inline const std::string& ExpectIdent(const TValue& V)
{
    const auto* I = std::get_if<TIdent>(&V);
    if (!I) throw EReadError("an identifier was expected");
    return I->Name;
}

} // namespace PropertyDetail

template <typename T>
TPropInfo IntegerProperty(std::function<int(const T&)> Get, std::function<void(T&, int)> Set,
                          std::optional<int> Default = 0, int Min = std::numeric_limits<int>::min(),
                          int Max = std::numeric_limits<int>::max())
{
    TPropInfo Info;
    Info.Set = [Set, Min, Max](TComponent& C, const TValue& V) {
        const auto* I = std::get_if<int64_t>(&V);
        if (!I) throw EReadError("an integer was expected");
        if (*I < Min || *I > Max)
            throw EReadError("'" + std::to_string(*I) + "' is out of range (" + std::to_string(Min) + ".." +
                             std::to_string(Max) + ")");
        Set(PropertyDetail::Target<T>(C), static_cast<int>(*I));
    };
    Info.Get = [Get, Default](const TComponent& C) -> std::optional<TValue> {
        const int V = Get(PropertyDetail::Target<T>(C));
        if (Default && V == *Default) return std::nullopt;
        return TValue{int64_t{V}};
    };
    return Info;
}

// A plain int field.
template <typename T>
TPropInfo IntegerField(int T::*Field, std::optional<int> Default = 0, int Min = std::numeric_limits<int>::min(),
                       int Max = std::numeric_limits<int>::max())
{
    return IntegerProperty<T>([Field](const T& C) { return C.*Field; }, [Field](T& C, int V) { C.*Field = V; },
                              Default, Min, Max);
}

// Written and read as the identifiers True and False.
template <typename T>
TPropInfo BooleanProperty(std::function<bool(const T&)> Get, std::function<void(T&, bool)> Set,
                          std::optional<bool> Default)
{
    static const std::vector<std::string> Names{"False", "True"};
    TPropInfo Info;
    Info.Set = [Set](TComponent& C, const TValue& V) {
        Set(PropertyDetail::Target<T>(C), PropertyDetail::IndexOfName(Names, PropertyDetail::ExpectIdent(V)) == 1);
    };
    Info.Get = [Get, Default](const TComponent& C) -> std::optional<TValue> {
        const bool V = Get(PropertyDetail::Target<T>(C));
        if (Default && V == *Default) return std::nullopt;
        return TValue{TIdent{Names[V ? 1 : 0]}};
    };
    return Info;
}

template <typename T>
TPropInfo BooleanField(bool T::*Field, std::optional<bool> Default)
{
    return BooleanProperty<T>([Field](const T& C) { return C.*Field; }, [Field](T& C, bool V) { C.*Field = V; },
                              Default);
}

template <typename T>
TPropInfo StringProperty(std::function<std::string(const T&)> Get, std::function<void(T&, const std::string&)> Set,
                         std::optional<std::string> Default = std::string())
{
    TPropInfo Info;
    Info.Set = [Set](TComponent& C, const TValue& V) {
        const auto* S = std::get_if<std::string>(&V);
        if (!S) throw EReadError("a quoted string was expected");
        Set(PropertyDetail::Target<T>(C), *S);
    };
    Info.Get = [Get, Default](const TComponent& C) -> std::optional<TValue> {
        std::string V = Get(PropertyDetail::Target<T>(C));
        if (Default && V == *Default) return std::nullopt;
        return TValue{std::move(V)};
    };
    return Info;
}

// An enumeration whose values are 0, 1, … and are named by Names in that order.
template <typename T, typename E>
TPropInfo EnumProperty(std::function<E(const T&)> Get, std::function<void(T&, E)> Set, std::vector<std::string> Names,
                       std::optional<E> Default)
{
    TPropInfo Info;
    Info.Set = [Set, Names](TComponent& C, const TValue& V) {
        const size_t I = PropertyDetail::IndexOfName(Names, PropertyDetail::ExpectIdent(V));
        Set(PropertyDetail::Target<T>(C), static_cast<E>(I));
    };
    Info.Get = [Get, Names, Default](const TComponent& C) -> std::optional<TValue> {
        const E V = Get(PropertyDetail::Target<T>(C));
        if (Default && V == *Default) return std::nullopt;
        const auto I = static_cast<size_t>(V);
        if (I >= Names.size()) return TValue{int64_t(I)};
        return TValue{TIdent{Names[I]}};
    };
    return Info;
}

template <typename T, typename E>
TPropInfo EnumField(E T::*Field, std::vector<std::string> Names, std::optional<E> Default)
{
    return EnumProperty<T, E>([Field](const T& C) { return C.*Field; }, [Field](T& C, E V) { C.*Field = V; },
                              std::move(Names), Default);
}

// A TSet of an enumeration named as for EnumProperty; written as [a, b].
template <typename T, typename E>
TPropInfo SetProperty(std::function<TSet<E>(const T&)> Get, std::function<void(T&, TSet<E>)> Set,
                      std::vector<std::string> Names, std::optional<TSet<E>> Default)
{
    TPropInfo Info;
    Info.Set = [Set, Names](TComponent& C, const TValue& V) {
        const auto* S = std::get_if<TSetValue>(&V);
        if (!S) throw EReadError("a set in brackets was expected");
        TSet<E> Result;
        for (const std::string& M : S->Members) Result.Include(static_cast<E>(PropertyDetail::IndexOfName(Names, M)));
        Set(PropertyDetail::Target<T>(C), Result);
    };
    Info.Get = [Get, Names, Default](const TComponent& C) -> std::optional<TValue> {
        const TSet<E> V = Get(PropertyDetail::Target<T>(C));
        if (Default && V == *Default) return std::nullopt;
        TSetValue Out;
        for (size_t I = 0; I < Names.size(); ++I)
            if (V.Contains(static_cast<E>(I))) Out.Members.push_back(Names[I]);
        return TValue{std::move(Out)};
    };
    return Info;
}

template <typename T, typename E>
TPropInfo SetField(TSet<E> T::*Field, std::vector<std::string> Names, std::optional<TSet<E>> Default)
{
    return SetProperty<T, E>([Field](const T& C) { return C.*Field; }, [Field](T& C, TSet<E> V) { C.*Field = V; },
                             std::move(Names), Default);
}

// A colour: a colour identifier (clBtnFace) or an integer, signed or as the unsigned
// 32-bit pattern. Written as the identifier when the colour has one.
template <typename T>
TPropInfo ColorProperty(std::function<TColor(const T&)> Get, std::function<void(T&, TColor)> Set,
                        std::optional<TColor> Default)
{
    TPropInfo Info;
    Info.Set = [Set](TComponent& C, const TValue& V) {
        TColor Color = 0;
        if (const auto* I = std::get_if<int64_t>(&V)) {
            if (*I < std::numeric_limits<int32_t>::min() || *I > std::numeric_limits<uint32_t>::max())
                throw EReadError("'" + std::to_string(*I) + "' is not a colour");
            Color = static_cast<TColor>(static_cast<uint32_t>(*I));
        } else if (const auto* Id = std::get_if<TIdent>(&V)) {
            if (!IdentToColor(Id->Name, Color)) throw EReadError("'" + Id->Name + "' is not a colour");
        } else {
            throw EReadError("a colour name or an integer was expected");
        }
        Set(PropertyDetail::Target<T>(C), Color);
    };
    Info.Get = [Get, Default](const TComponent& C) -> std::optional<TValue> {
        const TColor V = Get(PropertyDetail::Target<T>(C));
        if (Default && V == *Default) return std::nullopt;
        std::string Ident;
        if (ColorToIdent(V, Ident)) return TValue{TIdent{Ident}};
        return TValue{int64_t{static_cast<uint32_t>(V)}};
    };
    return Info;
}

// An On… property: binds a handler of exactly the event's type.
template <typename T, typename TEvent>
TPropInfo EventProperty(TEvent T::*Field)
{
    TPropInfo Info;
    Info.SetEvent = [Field](TComponent& C, const THandler& H) {
        const auto* E = std::get_if<TEvent>(&H);
        if (!E) return false;
        PropertyDetail::Target<T>(C).*Field = *E;
        return true;
    };
    return Info;
}

// Makes Info written only while Stored answers true (a colour that follows the
// parent's is not written).
template <typename T>
TPropInfo StoredWhen(TPropInfo Info, std::function<bool(const T&)> Stored)
{
    auto Get = std::move(Info.Get);
    Info.Get = [Get, Stored](const TComponent& C) -> std::optional<TValue> {
        if (!Stored(PropertyDetail::Target<T>(C))) return std::nullopt;
        return Get(C);
    };
    return Info;
}
