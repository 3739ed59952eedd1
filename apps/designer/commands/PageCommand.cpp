#include "apps/designer/commands/PageCommand.h"

#include <cstdio>
#include <optional>

#include "platform/rtl/Utf8.h"

int RunPage(const char* Name, const char* Usage, const TArgs& Args, size_t Min, size_t Max,
            const std::function<int(const TPageArgs& A)>& Body, const TDeclareProc& Declare, const TCheckProc& Check)
{
    TOptionParser Parser(Name, Usage);
    TPageArgs A;
    Parser.Value("--package", A.Package, "a file name");
    if (Declare) Declare(Parser);
    switch (Parser.Parse(Args, A.P, Min, Max)) {
    case TParsed::Help: std::printf("usage: %s", Usage); return ExitOk;
    case TParsed::Error: return ExitError;
    case TParsed::Run:
        if (Check && !Check(Parser)) return ExitError;
    }
    if (A.Package.empty()) A.Package = DefaultPackagePath();
    try {
        return Body(A);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "qell-designer %s: %s\n", Name, E.what());
        return ExitError;
    }
}

TPageSession::TPageSession(const std::string& PackagePath, const std::string& FileName, bool ForWriting)
    : FPackage(PackagePath)
{
    if (ForWriting) FDocument.OpenForWriting(FileName);
    else FDocument.Open(FileName);
}

TInterfacePtr<TPropertyEditor> EditorWith(TPageDocument& Document, const std::string& Path,
                                          TPropertyAttribute Attribute, const char* Lacking)
{
    TInterfacePtr<TPropertyEditor> E = Document.Editor(Path);
    if (!E->GetAttributes().Contains(Attribute))
        throw Exception(QuotedInput(Path) + " has no " + Lacking + " (its editor is " + E->ClassName() + ")");
    return E;
}

std::string OneField(std::string_view Text)
{
    static constexpr char HexDigits[] = "0123456789abcdef";
    std::string Out;
    Out.reserve(Text.size());
    for (size_t Pos = 0; Pos < Text.size();) {
        const size_t Start = Pos;
        const uint32_t Code = NextCodePoint(Text, Pos);
        switch (Code) {
        case '\t': Out += "\\t"; continue;
        case '\n': Out += "\\n"; continue;
        case '\r': Out += "\\r"; continue;
        case '\\': Out += "\\\\"; continue;
        default: break;
        }
        const bool Control = Code < 0x20 || (Code >= 0x7F && Code <= 0x9F) || Code == Utf8Invalid;
        if (!Control) {
            Out.append(Text.substr(Start, Pos - Start));
            continue;
        }
        for (size_t I = Start; I < Pos; ++I) {
            const auto Byte = static_cast<unsigned char>(Text[I]);
            Out += "\\x";
            Out += HexDigits[Byte >> 4];
            Out += HexDigits[Byte & 0xF];
        }
    }
    return Out;
}

void PrintLine(std::string_view Text)
{
    std::fwrite(Text.data(), 1, Text.size(), stdout);
    std::fputc('\n', stdout);
}

namespace {

struct TPageCommand {
    const char* Name;
    const char* Usage;
    int (*Run)(const TArgs& Args);
};

constexpr TPageCommand PageCommands[] = {
    {"new", NewUsage, RunNew},          {"props", PropsUsage, RunProps}, {"get", GetUsage, RunGet},
    {"values", ValuesUsage, RunValues}, {"set", SetUsage, RunSet},       {"reset", ResetUsage, RunReset},
    {"edit", EditUsage, RunEdit},       {"draw", DrawUsage, RunDraw},    {"add", AddUsage, RunAdd},
    {"delete", DeleteUsage, RunDelete},
};

} // namespace

std::string PageUsage()
{
    std::string Usage;
    for (const TPageCommand& C : PageCommands) Usage += (Usage.empty() ? "" : "       ") + std::string(C.Usage);
    return Usage;
}

std::optional<int> RunPageCommand(const std::string& Name, const TArgs& Args)
{
    for (const TPageCommand& C : PageCommands)
        if (Name == C.Name) return C.Run(Args);
    return std::nullopt;
}
