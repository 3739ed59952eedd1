// `qell-designer colour …`: the colour model from the command line. The formats are in
// docs/cli.md; the conversions and the batch reader are in ColourBatch.

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

#include "apps/designer/commands/ColourBatch.h"
#include "apps/designer/commands/Commands.h"
#include "colour/IWColors.h"
#include "platform/rtl/SysUtils.h"

namespace {

int RunBatch(const TColourCommand& Cmd)
{
    auto Read = [](char* Buffer, size_t Size) {
        const size_t Got = std::fread(Buffer, 1, Size, stdin);
        if (Got == 0 && std::ferror(stdin)) throw std::runtime_error("cannot read standard input");
        return Got;
    };
    auto Write = [](const char* Data, size_t Size) { return std::fwrite(Data, 1, Size, stdout) == Size; };
    try {
        ConvertRows(Cmd, Read, Write);
    } catch (const EColourInputError& E) {
        std::fprintf(stderr, "qell-designer colour %s: line %lld: %s\n", Cmd.Name, static_cast<long long>(E.Line),
                     E.what());
        return 1;
    }
    return 0;
}

int RunSingle(const TColourCommand& Cmd, const TArgs& Args)
{
    const std::string_view F[3] = {Args[1], Args[2], Args[3]};
    try {
        std::printf("%s\n", ConvertFields(Cmd, F).c_str());
    } catch (const EColourInputError& E) {
        std::fprintf(stderr, "qell-designer colour %s: %s\n", Cmd.Name, E.what());
        return 1;
    }
    return 0;
}

std::string Hex(TColor C) { return "$" + IntToHex(C, 8); }

int RunResolve(const std::string& Text)
{
    TColor Color;
    const char* Kind;
    if (IdentToIWColor(Text, Color)) {
        TColor Ignored;
        Kind = IdentToColor(Text, Ignored) ? "toolkit" : "web";
    } else if (int32_t Value; TryStrToInt(Text, Value)) {
        Color = Value;
        Kind = "integer";
    } else {
        std::fprintf(stderr, "qell-designer colour resolve: %s is not a colour name or an integer value\n",
                     QuotedInput(Text).c_str());
        return 1;
    }
    std::printf("%s\t%s\t%s\t%s\t%s\n", Text.c_str(), Kind, Hex(Color).c_str(), Hex(ColorToRGB(Color)).c_str(),
                IWColorToString(Color).c_str());
    return 0;
}

int RunNames()
{
    GetIWColorValues([](const std::string& Name) {
        const TColor C = StringToIWColor(Name);
        std::printf("web\t%s\t%s\t%s\n", Name.c_str(), Hex(C).c_str(), Hex(ColorToRGB(C)).c_str());
    });
    GetColorValues([](const std::string& Name) {
        TColor C = 0;
        IdentToColor(Name, C);
        std::printf("toolkit\t%s\t%s\t%s\n", Name.c_str(), Hex(C).c_str(), Hex(ColorToRGB(C)).c_str());
    });
    return 0;
}

int UsageError(const std::string& Message)
{
    std::fprintf(stderr, "qell-designer colour: %s\nusage: %s", Message.c_str(), ColourUsage);
    return 2;
}

} // namespace

const char ColourUsage[] = "qell-designer colour from-levels [HUE SAT BRIGHT]\n"
                           "       qell-designer colour to-levels [RED GREEN BLUE]\n"
                           "       qell-designer colour hsb [H S B]\n"
                           "       qell-designer colour resolve TEXT\n"
                           "       qell-designer colour names\n";

int RunColourCommand(const TArgs& Args)
{
    if (Args.empty()) return UsageError("missing subcommand");
    if (IsHelp(Args[0])) {
        std::printf("usage: %s", ColourUsage);
        return 0;
    }
    const std::string& Sub = Args[0];
    for (const TColourCommand& Cmd : ColourCommands) {
        if (Sub != Cmd.Name) continue;
        if (Args.size() == 1) return RunBatch(Cmd);
        if (Args.size() == 4) return RunSingle(Cmd, Args);
        return UsageError(Sub + " takes 3 numbers, or none to read rows from standard input; got " +
                          std::to_string(Args.size() - 1));
    }
    if (Sub == "resolve") {
        if (Args.size() != 2) return UsageError("resolve takes one text");
        return RunResolve(Args[1]);
    }
    if (Sub == "names") {
        if (Args.size() != 1) return UsageError("names takes no arguments");
        return RunNames();
    }
    return UsageError("unknown subcommand " + QuotedInput(Sub));
}
