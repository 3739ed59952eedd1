#pragma once
// A set of a small enumeration, as the toolkit's shift states, anchors and options are.

#include <cstdint>
#include <initializer_list>

template <typename E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> Items)
    {
        for (E I : Items) FBits |= Bit(I);
    }
    constexpr bool Contains(E I) const { return (FBits & Bit(I)) != 0; }
    constexpr TSet& Include(E I) { FBits |= Bit(I); return *this; }
    constexpr TSet& Exclude(E I) { FBits &= ~Bit(I); return *this; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr uint32_t Bits() const { return FBits; }
    static constexpr TSet FromBits(uint32_t B) { TSet S; S.FBits = B; return S; }
    friend constexpr bool operator==(TSet A, TSet B) { return A.FBits == B.FBits; }

private:
    static constexpr uint32_t Bit(E I) { return 1u << static_cast<unsigned>(I); }
    uint32_t FBits = 0;
};
