#pragma once
// The colours a page already uses, for a colour row's menu: choosing one of them keeps a
// design consistent.

#include <vector>

#include "platform/components/IWQellBase.h"

struct TPageColour {
    TColor Value; // as stored: a toolkit code stays a code
    int Uses;     // how many colour properties hold it
};

// Every value that the colour properties (TColor and TIWColor) of Page hold: the page's
// own, its components', their sub-objects' and collection items', each counted once per
// property that holds it. Most used first; values used equally often in the order first
// met, the page first, then its components in file order.
std::vector<TPageColour> PageColours(TQellPage& Page);
