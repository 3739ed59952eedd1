#pragma once
// An owner's components by name, found without case.

#include <cstddef>
#include <string_view>
#include <vector>

class TComponent;

// A flat open-addressed table of each name's hash beside its component. The names are
// read from the components themselves, never copied, and a look-up touches one run of
// memory: finding, adding and removing a name cost the same whatever the number held,
// and clearing is one release. Names compare as SameText does (ASCII without case).
class TNameIndex {
public:
    // The component held under Name, or nullptr.
    TComponent* Find(std::string_view Name) const;
    // Holds Component under Name, which no component holds here yet. The component may
    // still carry another name until the caller sets it: the table keeps the hash.
    void Insert(std::string_view Name, TComponent* Component);
    // Forgets Component, held under Name; nothing if it is not held so.
    void Erase(std::string_view Name, const TComponent* Component);
    void Clear();
    bool Empty() const { return FCount == 0; }

private:
    struct TSlot {
        size_t Hash = 0;
        TComponent* Component = nullptr; // nullptr: free
    };
    void Grow();
    size_t Home(size_t Hash) const { return Hash & (FSlots.size() - 1); }

    std::vector<TSlot> FSlots; // a power of two in size, at most half full
    size_t FCount = 0;
};
