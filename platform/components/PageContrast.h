#pragma once
// The colour pairs a page draws, as each class declares them beside its published
// properties (a relation named by ContrastRelation), resolved on the page's components
// with their values and ratios. What `qell-designer check`, the designer's description
// line and its contrast marks all read.

#include <string>
#include <string_view>
#include <vector>

#include "colour/Contrast.h"
#include "platform/components/IWQellBase.h"

// The relation by which a class declares that it draws the colour at one path on the
// colour at another, as a pair of Kind:
//
//   P.Relate(ContrastRelation(TContrastKind::Text), "TextColor", "BackgroundColor");
//
// Paths name colour properties from the instance, as the inspector names its rows; a
// background path starting "Owner." is a property of the component's owner (a label's
// text is drawn on its page's Color). Relations of other names are not pairs.
QELL_COMPONENTS_API std::string ContrastRelation(TContrastKind Kind);

// One colour of a pair: the object that holds it (the component, a sub-object or a
// collection item), its property, and its value as stored (toolkit codes unresolved).
struct TPairColour {
    TPersistent* Object = nullptr;
    const TPropInfo* Prop = nullptr;
    TColor Value = 0;
};

// One pair as drawn, with the ratio of the colours as the canvas draws them. The values
// are written as text by the caller, through the editor of each property as `props`
// does, so that they read as the inspector shows them and a suggestion is a text that
// the row takes.
struct QELL_COMPONENTS_API TContrastFinding {
    TComponent* Component = nullptr; // whose pair it is
    // Paths as `props` prints them, from the component's name
    // ("ButtonOrder.Appearance.TextColor", "SpinnerFilling.Slots[2].TextColor"); a colour
    // of the owner from the owner's name ("SamplePage.Color").
    std::string ForegroundPath, BackgroundPath;
    TPairColour Foreground, Background;
    TContrastKind Kind = TContrastKind::Text;
    double Ratio = 1;

    double Required(TContrastLevel Level) const { return RequiredRatio(Kind, Level); }
    bool Passes(TContrastLevel Level) const { return ContrastPasses(Ratio, Required(Level)); }
    // NearestPassingColour for the foreground at Level.
    TColor Suggestion(TContrastLevel Level) const;
};

// Every pair that Component draws: the pairs its class and ancestors declare, then those
// of its sub-objects and collection items, in the order their properties are published.
// Raises EPropertyError for a declared path that names no colour property, or a
// contrast relation of no known kind (faults in the declaration, which a test rules out
// for every class).
QELL_COMPONENTS_API std::vector<TContrastFinding> ComponentContrast(TComponent& Component);

// Every pair of every component of Page (not the page's own: it draws none), in file
// order.
QELL_COMPONENTS_API std::vector<TContrastFinding> PageContrast(TQellPage& Page);

// The pairs among Findings that the colour at Path ("ButtonOrder.Appearance.TextColor",
// without case) belongs to, as foreground or background.
QELL_COMPONENTS_API std::vector<TContrastFinding> PairsOfColour(const std::vector<TContrastFinding>& Findings,
                                                               std::string_view Path);
