#include "platform/rtl/NameIndex.h"

#include <cstdint>

#include "platform/rtl/Classes.h"

namespace {

constexpr size_t MinSlots = 16;

// FNV-1a over the upper-cased bytes, then a final mix so that the low bits, which pick
// the slot, depend on every character.
size_t HashWithoutCase(std::string_view Name)
{
    uint64_t H = 14695981039346656037ull;
    for (char C : Name) {
        const auto U = static_cast<unsigned char>((C >= 'a' && C <= 'z') ? C - 'a' + 'A' : C);
        H = (H ^ U) * 1099511628211ull;
    }
    H ^= H >> 33;
    H *= 0xff51afd7ed558ccdull;
    H ^= H >> 33;
    return static_cast<size_t>(H);
}

} // namespace

TComponent* TNameIndex::Find(std::string_view Name) const
{
    if (FCount == 0) return nullptr;
    const size_t Hash = HashWithoutCase(Name);
    for (size_t I = Home(Hash);; I = (I + 1) & (FSlots.size() - 1)) {
        const TSlot& S = FSlots[I];
        if (!S.Component) return nullptr;
        if (S.Hash == Hash && SameText(S.Component->Name(), Name)) return S.Component;
    }
}

void TNameIndex::Insert(std::string_view Name, TComponent* Component)
{
    if (2 * (FCount + 1) > FSlots.size()) Grow();
    const size_t Hash = HashWithoutCase(Name);
    size_t I = Home(Hash);
    while (FSlots[I].Component) I = (I + 1) & (FSlots.size() - 1);
    FSlots[I] = {Hash, Component};
    ++FCount;
}

void TNameIndex::Erase(std::string_view Name, const TComponent* Component)
{
    if (FCount == 0) return;
    const size_t Mask = FSlots.size() - 1;
    const size_t Hash = HashWithoutCase(Name);
    size_t Hole = Home(Hash);
    while (FSlots[Hole].Component != Component || FSlots[Hole].Hash != Hash) {
        if (!FSlots[Hole].Component) return;
        Hole = (Hole + 1) & Mask;
    }
    // Close the hole by moving back each later entry of the run that the hole now
    // separates from its home, so that no look-up stops short of it.
    for (size_t Next = (Hole + 1) & Mask; FSlots[Next].Component; Next = (Next + 1) & Mask) {
        const size_t H = Home(FSlots[Next].Hash);
        const bool HomeAfterHole = Hole <= Next ? (Hole < H && H <= Next) : (Hole < H || H <= Next);
        if (HomeAfterHole) continue;
        FSlots[Hole] = FSlots[Next];
        Hole = Next;
    }
    FSlots[Hole] = {};
    --FCount;
}

void TNameIndex::Clear()
{
    FSlots = {};
    FCount = 0;
}

void TNameIndex::Grow()
{
    std::vector<TSlot> Old(FSlots.empty() ? MinSlots : 2 * FSlots.size());
    Old.swap(FSlots);
    for (const TSlot& S : Old) {
        if (!S.Component) continue;
        size_t I = Home(S.Hash);
        while (FSlots[I].Component) I = (I + 1) & (FSlots.size() - 1);
        FSlots[I] = S;
    }
}
