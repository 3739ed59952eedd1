// `qell-designer package …`: a package library's records and resources, read from the
// file as bytes. Nothing of the library is loaded and none of its code runs, so a
// damaged or hostile file can at worst be refused. The output is in docs/cli.md.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "apps/designer/commands/Commands.h"
#include "apps/designer/packages/PackageHost.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/PackageFile.h"
#include "platform/rtl/PackageRecords.h"
#include "platform/rtl/PackageResources.h"

namespace {

std::string Hex(uint32_t Value, int Digits) { return "$" + IntToHex(static_cast<int32_t>(Value), Digits); }

std::string LanguageText(uint16_t Language) { return Language == LanguageNeutral ? "neutral" : IntToHex(Language, 4); }

// Everything `package info` prints, decoded before anything is printed so that a
// damaged record prints nothing but its error.
std::string Info(const TElfFile& Elf, const std::vector<TResource>& Resources)
{
    const TResource* InfoRecord = FindResource(Resources, "PACKAGEINFO");
    if (!InfoRecord) throw EPackageFileError("no PACKAGEINFO resource, so not a package");
    const TPackageInfo Info = DecodePackageInfo(InfoRecord->Data);
    std::string Out = "name\t" + Info.Name + "\t" + Hex(PackageNameHash(Info.Name), 2) + "\n";
    if (const TResource* R = FindResource(Resources, "DESCRIPTION"))
        Out += "description\t" + DecodeDescription(R->Data) + "\n";
    if (const TResource* R = FindResource(Resources, VersionResourceName))
        Out += "version\t" + VersionText(DecodeVersionInfo(R->Data).FileVersion) + "\n";
    Out += "flags\t" + Hex(Info.Flags, 8) + "\n";
    for (const std::string& Name : Info.Requires)
        Out += "requires\t" + Hex(PackageNameHash(Name), 2) + "\t" + Name + "\n";
    for (const TPackageUnit& Unit : Info.Contains)
        Out += "contains\t" + Hex(PackageNameHash(Unit.Name), 2) + "\t" + std::to_string(Unit.Flags) + "\t" +
               Unit.Name + "\n";
    if (const TResource* R = FindResource(Resources, "PACKAGEOPTIONS")) {
        const TPackageOptions O = DecodePackageOptions(R->Data);
        const char* Usage = O.Usage == (PackageDesignTime | PackageRunTime) ? "both"
                            : O.Usage == PackageDesignTime                  ? "design"
                            : O.Usage == PackageRunTime                     ? "run"
                                                                            : "none";
        Out += "usage\t" + std::string(Usage) + "\ndefines\t" + O.Defines + "\naliases\t" + O.UnitAliases + "\n";
    }
    std::string UnitTable = "unknown";
    if (Elf.HasStaticSymbols()) {
        const std::optional<uint64_t> Size = Elf.StaticSymbolSize(PackageUnitTableSymbol);
        if (!Size)
            UnitTable = "none";
        else if (*Size % PackageUnitTableEntrySize != 0)
            UnitTable = "invalid (" + std::to_string(*Size) + " bytes, not a multiple of " +
                        std::to_string(PackageUnitTableEntrySize) + ")";
        else
            UnitTable = std::to_string(*Size / PackageUnitTableEntrySize);
    }
    Out += "unit-table\t" + UnitTable + "\n";
    for (const std::string& Name : Elf.ExportedSymbols()) Out += "export\t" + Name + "\n";
    for (const TResource& R : Resources)
        Out += "resource\t" + R.Name + "\t" + std::string(ResourceKindName(R.Kind)) + "\t" + LanguageText(R.Language) +
               "\t" + std::to_string(R.Data.size()) + "\n";
    return Out;
}

// Reads a package file's records and resources, or names what is wrong with it.
int Describe(const std::string& Command, const std::string& Path, const std::string* Resource)
{
    const std::string Prefix = "qell-designer package " + Command + ": ";
    std::unique_ptr<TMappedFile> Mapped;
    std::string Out;
    try {
        // Mapped, not read: the magic and the headers are checked first, and a large
        // file that is no library costs the few pages looked at.
        Mapped = std::make_unique<TMappedFile>(Path); // its errors name the file
    } catch (const EPackageFileError& E) {
        std::fprintf(stderr, "%s%s\n", Prefix.c_str(), E.what());
        return ExitFailed;
    }
    try {
        const TElfFile Elf(Mapped->Bytes());
        const std::vector<TResource> Resources = ReadPackageResources(Elf);
        if (!Resource) {
            Out = Info(Elf, Resources);
        } else if (const TResource* R = FindResource(Resources, *Resource)) {
            Out.assign(R->Data.begin(), R->Data.end());
        } else {
            throw EPackageFileError("no resource " + QuotedInput(*Resource));
        }
    } catch (const EPackageFileError& E) {
        std::fprintf(stderr, "%s%s: %s\n", Prefix.c_str(), QuotedFileName(Path).c_str(), E.what());
        return ExitFailed;
    }
    // A failed write is reported once the command returns, as for every command.
    std::fwrite(Out.data(), 1, Out.size(), stdout);
    return ExitOk;
}

} // namespace

int RunPackageCommand(const TArgs& Args)
{
    const std::string Command = Args.empty() ? "" : Args[0];
    if (Args.size() == 2 && IsHelp(Args[1])) {
        std::printf("usage: %s", PackageUsage);
        return ExitOk;
    }
    if (Command == "info" && Args.size() <= 2) return Describe(Command, Args.size() == 2 ? Args[1] : DefaultPackagePath(), nullptr);
    if (Command == "resource" && Args.size() == 3) return Describe(Command, Args[1], &Args[2]);
    if (Command == "check") return RunPackageCheck(TArgs(Args.begin() + 1, Args.end()));
    std::fprintf(stderr, "usage: %s", PackageUsage);
    return ExitError;
}

const char PackageUsage[] = "qell-designer package info [PATH]\n"
                            "       qell-designer package resource PATH NAME\n"
                            "       qell-designer package check [PATH] [--cycles N]\n";
