// qell-designer add FILE CLASS [--name NAME] [--at X,Y] [--size WxH]: a new component on
// the page, made by the document as the window makes one, then the page saved, under
// the file's lock from the read to the write. Prints the component's name.

#include <charconv>
#include <optional>

#include "apps/designer/commands/PageCommand.h"
#include "platform/toolkit/resources/ClassRegistry.h"

const char AddUsage[] =
    "qell-designer add FILE CLASS [--name NAME] [--at X,Y] [--size WxH] [--package PATH]\n";

namespace {

// Two whole numbers joined by one of Separators ("24,16", "120x32"), each within
// Min..MaxQellExtent.
std::optional<TPoint> ReadPair(const std::string& Text, const char* Separators, int Min)
{
    const size_t Split = Text.find_first_of(Separators);
    if (Split == std::string::npos) return std::nullopt;
    const auto Number = [Min](std::string_view S) -> std::optional<int> {
        int V = 0;
        const auto [Ptr, Error] = std::from_chars(S.data(), S.data() + S.size(), V);
        if (S.empty() || Error != std::errc() || Ptr != S.data() + S.size() || V < Min || V > MaxQellExtent)
            return std::nullopt;
        return V;
    };
    const std::optional<int> A = Number(std::string_view(Text).substr(0, Split));
    const std::optional<int> B = Number(std::string_view(Text).substr(Split + 1));
    if (!A || !B) return std::nullopt;
    return TPoint{*A, *B};
}

} // namespace

int RunAdd(const TArgs& Args)
{
    std::string Name, AtText, SizeText;
    std::optional<TPoint> At, Size;
    const auto Declare = [&](TOptionParser& Parser) {
        Parser.Value("--name", Name, "a name");
        Parser.Value("--at", AtText, "a place such as 24,16");
        Parser.Value("--size", SizeText, "a size such as 120x32");
    };
    const auto Check = [&](const TOptionParser& Parser) {
        const std::string Extent = std::to_string(MaxQellExtent);
        if (Parser.Given("--at") && !(At = ReadPair(AtText, ",", -MaxQellExtent))) {
            Parser.Error("--at takes X,Y, each a whole number from -" + Extent + " to " + Extent + ", not " +
                         QuotedInput(AtText));
            return false;
        }
        if (Parser.Given("--size") && !(Size = ReadPair(SizeText, "xX", 0))) {
            Parser.Error("--size takes WIDTHxHEIGHT, each a whole number from 0 to " + Extent + ", not " +
                         QuotedInput(SizeText));
            return false;
        }
        return true;
    };
    return RunPage(
        "add", AddUsage, Args, 2, 2,
        [&](const TPageArgs& A) {
            TPageSession Session(A.Package, A.P[0], true);
            TPageDocument& Doc = Session.Document();
            const TClassInfo* Class = FindClass(A.P[1]);
            if (!Class) throw EComponentError("no component class " + QuotedInput(A.P[1]));
            const std::string Added = Doc.AddComponent(*Class, Name, At.value_or(TPoint{0, 0}), Size).Name();
            Doc.SaveAs(A.P[0]);
            PrintLine(Added);
            return ExitOk;
        },
        Declare, Check);
}
