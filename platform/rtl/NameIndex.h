#pragma once
// An owner's components by name, found without case.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/rtl/Export.h"

class TComponent;

// The key of the names' hash. Each process draws its own at random when it first hashes
// a name, so that names cannot be chosen to share a slot of the index: a page's names
// are input, and names that all collide would make every look-up walk them all.
struct TNameHashKey {
    uint64_t K0, K1;
};
// Makes Key the process's key, for a benchmark or a test that needs the same hashes on
// every run. Only while no index holds a name: those held would no longer be found.
QELL_RTL_API void SetNameHashKey(TNameHashKey Key);
// The keyed hash of Name as SameText compares it (ASCII without case): SipHash-1-3 of
// its upper-cased bytes.
QELL_RTL_API uint64_t NameHash(std::string_view Name);

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
        uint64_t Hash = 0;
        TComponent* Component = nullptr; // nullptr: free
    };
    void Grow();
    size_t Home(uint64_t Hash) const { return static_cast<size_t>(Hash) & (FSlots.size() - 1); }

    std::vector<TSlot> FSlots; // a power of two in size, at most half full
    size_t FCount = 0;
};
