#include "tools/PackageDefinition.h"

#include <set>
#include <sstream>

namespace {

std::array<uint16_t, 4> ParseVersion(const std::string& Text)
{
    std::array<uint16_t, 4> V{};
    std::istringstream In(Text);
    for (size_t I = 0; I < V.size(); ++I) {
        std::string Part;
        int32_t N;
        if (!std::getline(In, Part, '.') || Part.empty() || Part[0] == '$' || !TryStrToInt(Part, N) || N < 0 ||
            N > 65535)
            throw Exception("version '" + Text + "' is not four numbers 0..65535 joined by dots");
        V[I] = static_cast<uint16_t>(N);
    }
    if (In.peek() != EOF) throw Exception("version '" + Text + "' has more than four numbers");
    return V;
}

} // namespace

TPackageDefinition ParsePackageDefinition(const std::string& Text, const std::string& FileName)
{
    TPackageDefinition D;
    std::set<std::string> Seen;
    std::istringstream In(Text);
    std::string Line;
    for (int Number = 1; std::getline(In, Line); ++Number) {
        const auto Fail = [&](const std::string& Why) {
            return Exception(FileName + ":" + std::to_string(Number) + ": " + Why);
        };
        if (Line.empty() || Line[0] == '#') continue;
        const size_t Space = Line.find(' ');
        const std::string Key = Line.substr(0, Space);
        const std::string Value = Space == std::string::npos ? "" : Line.substr(Space + 1);
        if (Value.empty()) throw Fail("'" + Key + "' needs a value");
        if (Key != "requires" && Key != "contains" && !Seen.insert(Key).second)
            throw Fail("'" + Key + "' is given twice");
        try {
            if (Key == "name") {
                D.Info.Name = Value;
            } else if (Key == "description") {
                D.Description = D.Options.Description = Value;
            } else if (Key == "flags") {
                D.Info.Flags = static_cast<uint32_t>(StrToInt(Value));
            } else if (Key == "usage") {
                const uint32_t Usage = Value == "design" ? PackageDesignTime
                                       : Value == "run"  ? PackageRunTime
                                       : Value == "both" ? PackageDesignTime | PackageRunTime
                                                         : 0;
                if (Usage == 0) throw Exception("usage '" + Value + "' is not design, run or both");
                D.Options.Usage = Usage;
            } else if (Key == "requires") {
                D.Info.Requires.push_back(Value);
            } else if (Key == "contains") {
                const size_t Split = Value.find(' ');
                int32_t Flags;
                if (Split == std::string::npos || !TryStrToInt(Value.substr(Split + 1), Flags) || Flags < 0 ||
                    Flags > 255)
                    throw Exception("'contains " + Value + "' is not a unit name and flags 0..255");
                D.Info.Contains.push_back({Value.substr(0, Split), static_cast<uint8_t>(Flags)});
            } else if (Key == "defines") {
                D.Options.Defines = Value;
            } else if (Key == "aliases") {
                D.Options.UnitAliases = Value;
            } else if (Key == "version") {
                D.Options.Version = D.Version.FileVersion = D.Version.ProductVersion = ParseVersion(Value);
            } else {
                throw Exception("unknown keyword '" + Key + "'");
            }
        } catch (const Exception& E) {
            throw Fail(E.Message());
        }
    }
    for (const char* Required : {"name", "description", "usage", "version"})
        if (!Seen.count(Required)) throw Exception(FileName + ": no '" + std::string(Required) + "' line");
    D.Version.Language = PackageLanguage;
    D.Version.CodePage = PackageCodePage;
    const std::string Dotted = VersionText(D.Version.FileVersion);
    D.Version.Strings = {{"FileVersion", Dotted}, {"ProductVersion", Dotted}};
    return D;
}
