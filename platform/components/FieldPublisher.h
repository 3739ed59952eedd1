#pragma once
// Publishing plain fields with the values a new instance holds as their defaults, so
// that each default is written once, where the member is declared, and the form writer
// leaves out exactly what a new instance already has. Private to the library.

#include <memory>
#include <string>
#include <type_traits>

#include "platform/components/IWQellBase.h"
#include "platform/components/PageContrast.h"
#include "platform/rtl/Publish.h"

template <typename T>
class TFieldPublisher {
public:
    explicit TFieldPublisher(TPublisher<T>& P) : FP(P), FFresh(MakeFresh()) {}

    // An ordinal field (integer, named integer, enumeration, Boolean).
    template <typename V>
    TPublisher<T>& Field(const char* Name, const TTypeInfo& Type, V T::*Member)
    {
        return FP.Field(Name, Type, Member, FFresh.get()->*Member);
    }

    TPublisher<T>& Text(const char* Name, std::string T::*Member)
    {
        return FP.String(
            Name, [Member](const T& C) { return C.*Member; }, [Member](T& C, const std::string& V) { C.*Member = V; },
            FFresh.get()->*Member);
    }

    // A persistent sub-object held in a member.
    template <typename S>
    TPublisher<T>& Object(const char* Name, const TTypeInfo& Type, S T::*Member)
    {
        return FP.Object(Name, Type, [Member](T& C) -> S& { return C.*Member; });
    }

    // The class draws the colour at path Foreground on the one at Background: a pair of
    // Kind for the contrast checks (see ContrastRelation).
    void ContrastPair(TContrastKind Kind, const char* Foreground, const char* Background)
    {
        FP.Relate(ContrastRelation(Kind), Foreground, Background);
    }

    // A component's Width and Height, with the size its constructor gives it.
    void RedeclareSize()
    {
        FP.Redeclare("Width").OrdDefault = FFresh->Width;
        FP.Redeclare("Height").OrdDefault = FFresh->Height;
    }

private:
    static std::unique_ptr<T> MakeFresh()
    {
        // Components and collection items are made from their (here absent) owner.
        if constexpr (std::is_default_constructible_v<T>) return std::make_unique<T>();
        else return std::make_unique<T>(nullptr);
    }

    TPublisher<T>& FP;
    std::unique_ptr<T> FFresh;
};
