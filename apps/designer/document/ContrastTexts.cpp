#include "apps/designer/document/ContrastTexts.h"

namespace {

TFixText Text(TRowTexts& Rows, const TPairColour& Colour, const std::string& Path, const TContrastFix& Fix)
{
    TFixText T;
    T.Found = Fix.Found;
    T.Path = Path;
    T.Distance = Fix.Distance;
    if (Fix.Found) T.Value = Rows.ValueAs(*Colour.Object, *Colour.Prop, Fix.Colour);
    return T;
}

std::string Describe(const char* Side, const TFixText& Fix)
{
    return std::string(Side) + " " + Fix.Value + " (ΔE " + DistanceText(Fix.Distance) + ")";
}

} // namespace

TFixTexts FixTexts(TRowTexts& Rows, const TContrastFinding& Finding, TContrastLevel Level)
{
    const TContrastFixes Fixes = Finding.Fixes(Level);
    return {Text(Rows, Finding.Foreground, Finding.ForegroundPath, Fixes.Foreground),
            Text(Rows, Finding.Background, Finding.BackgroundPath, Fixes.Background), Fixes.BackgroundNearer()};
}

std::string DescribeFixes(const TFixTexts& Fixes, bool ByKey)
{
    const bool Background = Fixes.BackgroundNearer;
    const TFixText& Other = Background ? Fixes.Foreground : Fixes.Background;
    const char* OtherSide = Background ? "foreground" : "background";
    if (!Fixes.Nearer().Found) return "no colour on either side passes";
    std::string Text = (ByKey ? "Ctrl+K: " : "fix: ") + Describe(Background ? "background" : "foreground", Fixes.Nearer()) + "; ";
    if (Other.Found) Text += "or " + Describe(OtherSide, Other);
    else Text.append("no ").append(OtherSide).append(" passes");
    return Text;
}

std::string PathWithin(const TComponent& Component, const std::string& Path)
{
    const std::string Own = Component.Name() + ".";
    if (Path.size() > Own.size() && SameText(std::string_view(Path).substr(0, Own.size()), Own))
        return Path.substr(Own.size());
    return Path;
}

std::vector<std::string> FailureLines(TComponent& Component, TContrastLevel Level)
{
    std::vector<std::string> Lines;
    for (const TContrastFinding& F : ComponentContrast(Component)) {
        if (F.Passes(Level)) continue;
        // The level's ratio as people quote it: 4.5:1, 3:1.
        std::string Needed = RatioText(F.Required(Level));
        while (Needed.back() == '0') Needed.pop_back();
        if (Needed.back() == '.') Needed.pop_back();
        Lines.push_back(PathWithin(Component, F.ForegroundPath) + " on " + PathWithin(Component, F.BackgroundPath) +
                        ": " + RatioText(F.Ratio) + ":1, needs " + Needed + ":1");
    }
    return Lines;
}
