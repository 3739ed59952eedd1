#include "platform/rtl/NameIndex.h"

#include <cstdint>
#include <random>

#include "platform/rtl/Classes.h"

namespace {

constexpr size_t MinSlots = 16;

uint64_t Rotate(uint64_t X, int Bits)
{
    return (X << Bits) | (X >> (64 - Bits));
}

struct TSipState {
    uint64_t V0, V1, V2, V3;
    void Round()
    {
        V0 += V1;
        V1 = Rotate(V1, 13) ^ V0;
        V0 = Rotate(V0, 32);
        V2 += V3;
        V3 = Rotate(V3, 16) ^ V2;
        V0 += V3;
        V3 = Rotate(V3, 21) ^ V0;
        V2 += V1;
        V1 = Rotate(V1, 17) ^ V2;
        V2 = Rotate(V2, 32);
    }
    void Absorb(uint64_t Word)
    {
        V3 ^= Word;
        Round();
        V0 ^= Word;
    }
};

TNameHashKey RandomKey()
{
    std::random_device Random;
    const auto Word = [&Random] { return (uint64_t{Random()} << 32) | Random(); };
    return {Word(), Word()};
}

TNameHashKey& Key()
{
    static TNameHashKey K = RandomKey();
    return K;
}

} // namespace

void SetNameHashKey(TNameHashKey NewKey)
{
    Key() = NewKey;
}

uint64_t NameHash(std::string_view Name)
{
    const TNameHashKey& K = Key();
    TSipState S{K.K0 ^ 0x736F6D6570736575ull, K.K1 ^ 0x646F72616E646F6Dull, K.K0 ^ 0x6C7967656E657261ull,
                K.K1 ^ 0x7465646279746573ull};
    uint64_t Word = 0;
    for (size_t I = 0; I < Name.size(); ++I) {
        const char C = Name[I];
        Word |= uint64_t{static_cast<unsigned char>((C >= 'a' && C <= 'z') ? C - 'a' + 'A' : C)} << (8 * (I % 8));
        if (I % 8 == 7) {
            S.Absorb(Word);
            Word = 0;
        }
    }
    S.Absorb(Word | (uint64_t{Name.size()} << 56));
    S.V2 ^= 0xFF;
    for (int R = 0; R < 3; ++R) S.Round();
    return S.V0 ^ S.V1 ^ S.V2 ^ S.V3;
}

TComponent* TNameIndex::Find(std::string_view Name) const
{
    if (FCount == 0) return nullptr;
    const uint64_t Hash = NameHash(Name);
    for (size_t I = Home(Hash);; I = (I + 1) & (FSlots.size() - 1)) {
        const TSlot& S = FSlots[I];
        if (!S.Component) return nullptr;
        if (S.Hash == Hash && SameText(S.Component->Name(), Name)) return S.Component;
    }
}

void TNameIndex::Insert(std::string_view Name, TComponent* Component)
{
    if (2 * (FCount + 1) > FSlots.size()) Grow();
    const uint64_t Hash = NameHash(Name);
    size_t I = Home(Hash);
    while (FSlots[I].Component) I = (I + 1) & (FSlots.size() - 1);
    FSlots[I] = {Hash, Component};
    ++FCount;
}

void TNameIndex::Erase(std::string_view Name, const TComponent* Component)
{
    if (FCount == 0) return;
    const size_t Mask = FSlots.size() - 1;
    const uint64_t Hash = NameHash(Name);
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
