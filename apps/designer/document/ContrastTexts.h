#pragma once
// A failing pair's two smallest fixes as the rows would show them, for what offers them
// outside the inspector's own rows (`check --suggest`, the description line and Ctrl+K):
// each a text that its row and `set` take, with how far it moves the colour.

#include <string>
#include <vector>

#include "apps/designer/document/RowTexts.h"
#include "platform/components/PageContrast.h"

// One side's fix: the colour's path, as `props` prints it, and the text its row would
// show for the new colour. Not Found when no colour on that side passes.
struct TFixText {
    bool Found = false;
    std::string Path, Value;
    Extended Distance = 0; // CIEDE2000 from the colour it replaces
};

struct TFixTexts {
    TFixText Foreground, Background;
    bool BackgroundNearer = false;
    // The smaller fix, which Ctrl+K applies: the background's when BackgroundNearer.
    const TFixText& Nearer() const { return BackgroundNearer ? Background : Foreground; }
};

// The fixes of Finding at Level (TContrastFinding::Fixes), written through the editors
// of the two rows.
TFixTexts FixTexts(TRowTexts& Rows, const TContrastFinding& Finding, TContrastLevel Level);

// The fixes as the description line offers them, the nearer first, which Ctrl+K applies
// when ByKey: "Ctrl+K: background $0045743D (ΔE 2.04); or foreground $000F0F0F (ΔE
// 62.59)"; "fix: background …" otherwise.
std::string DescribeFixes(const TFixTexts& Fixes, bool ByKey);

// Path ("ButtonOrder.Appearance.TextColor", as a finding names a colour) from within
// Component ("Appearance.TextColor"); a path of another object (the page's
// "SamplePage.Color") as it stands.
std::string PathWithin(const TComponent& Component, const std::string& Path);

// Each pair of Component that fails Level, one a line, the paths from within it: what a
// hint over a marked component says.
// "Appearance.TextColor on Appearance.BackgroundColor: 2.21:1, needs 4.5:1".
std::vector<std::string> FailureLines(TComponent& Component, TContrastLevel Level);
