// The package's resources as its file carries them, checked against the
// record layouts assembled here from their description, not through the encoders: the
// texts, the package information with its hashes and padding, the icon as an .ico file
// whose images match the drawing, and the version block. Then the loaded module finds
// its own resources in memory.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/rtl/PackageFile.h"
#include "platform/rtl/PackageResources.h"
#include "tools/PackageIcon.h"

namespace {

using TByteVector = std::vector<uint8_t>;

const std::string Description = "KAV IntraWeb Qell Controls design time support";

// The package's resources, read from the built package's file.
struct TFixture {
    TByteVector Bytes = ReadFileBytes(QELL_PACKAGE_FILE);
    TElfFile Elf{Bytes};
    std::vector<TResource> Resources = ReadPackageResources(Elf);

    const TResource& Get(const char* Name) const
    {
        const TResource* R = FindResource(Resources, Name);
        if (!R) throw std::runtime_error(std::string("no resource ") + Name);
        return *R;
    }
    TByteVector Data(const char* Name) const { return {Get(Name).Data.begin(), Get(Name).Data.end()}; }
};

const TFixture& Fixture()
{
    static const TFixture F;
    return F;
}

uint32_t Le(const TByteVector& B, size_t At, int Size)
{
    uint32_t V = 0;
    for (int I = Size - 1; I >= 0; --I) V = V * 256 + B.at(At + I);
    return V;
}

// The name hash as docs/package-resources.md defines it, written out arithmetically.
uint8_t Hash(const std::string& Name)
{
    unsigned H = 0;
    for (const char C : Name) H = ((H * 8) % 256 + H / 32) ^ static_cast<unsigned char>(std::toupper(C));
    return static_cast<uint8_t>(H);
}

void AddText(TByteVector& B, const std::string& S) { B.insert(B.end(), S.begin(), S.end()); }

void PadTo4(TByteVector& B)
{
    while (B.size() % 4 != 0) B.push_back(0);
}

TEST(PackageResources, TheListIsThePackagesAndNothingElse)
{
    struct TWant {
        const char* Name;
        TResourceKind Kind;
        uint16_t Language;
    };
    const TWant Want[] = {{"DESCRIPTION", TResourceKind::Raw, 0},    {"PACKAGEINFO", TResourceKind::Raw, 0},
                          {"PACKAGEOPTIONS", TResourceKind::Raw, 0}, {"MAINICON", TResourceKind::IconGroup, 0x0409},
                          {"1", TResourceKind::VersionInfo, 0x0409}, {"TIWKAVMOBILECOLORFORM", TResourceKind::Raw, 0}};
    ASSERT_EQ(Fixture().Resources.size(), std::size(Want));
    for (size_t I = 0; I < std::size(Want); ++I) {
        EXPECT_EQ(Fixture().Resources[I].Name, Want[I].Name);
        EXPECT_EQ(Fixture().Resources[I].Kind, Want[I].Kind) << Want[I].Name;
        EXPECT_EQ(Fixture().Resources[I].Language, Want[I].Language) << Want[I].Name;
    }
    EXPECT_EQ(Fixture().Data("TIWKAVMOBILECOLORFORM"), ReadFileBytes(QELL_FORM_FILE));
}

TEST(PackageResources, TextRecordsFollowTheirLayout)
{
    TByteVector Want;
    for (const char C : Description) Want.insert(Want.end(), {static_cast<uint8_t>(C), 0});
    Want.insert(Want.end(), {0, 0});
    PadTo4(Want);
    EXPECT_EQ(Fixture().Data("DESCRIPTION"), Want);

    Want = {0x00, 0x00, 0x30, 0x4C, 6, 0, 0, 0};
    for (const char* Name :
         {"IW14QellDXE7.bpl", "Intraweb_140_210.bpl", "vcl210.bpl", "rtl210.bpl", "inet210.bpl", "designide210.bpl"}) {
        Want.push_back(Hash(Name));
        AddText(Want, Name);
        Want.push_back(0);
    }
    Want.insert(Want.end(), {5, 0, 0, 0});
    const std::pair<const char*, uint8_t> Units[] = {{"IW14QellDEDXE7", 3},
                                                     {"IWKAVMOBILEDsnColorDialog", 0},
                                                     {"SysInit", 0},
                                                     {"IWKAVMOBILEDsnColor", 0},
                                                     {"IWQellRegDE", 0}};
    for (const auto& [Name, Flags] : Units) {
        Want.insert(Want.end(), {Flags, Hash(Name)});
        AddText(Want, Name);
        Want.push_back(0);
    }
    Want.push_back(Hash("IW14QellDEDXE7"));
    AddText(Want, "IW14QellDEDXE7");
    Want.push_back(0);
    PadTo4(Want);
    EXPECT_EQ(Fixture().Data("PACKAGEINFO"), Want);

    // 44 option bytes (format 1, x86-64, design time, version 1.0.0.0, …), then the texts.
    const TByteVector Options = Fixture().Data("PACKAGEOPTIONS");
    ASSERT_GE(Options.size(), 44u);
    EXPECT_EQ(Le(Options, 0, 2), 1u);
    EXPECT_EQ(Le(Options, 2, 2), 62u);
    EXPECT_EQ(Options[11], 3);
    EXPECT_EQ(Le(Options, 12, 4), 1u);
    EXPECT_EQ(Le(Options, 16, 2), 1u);
    EXPECT_EQ(Le(Options, 18, 2) + Le(Options, 20, 2) + Le(Options, 22, 2), 0u);
    const std::string Aliases = "IWDsnColor=IWKAVMOBILEDsnColor;IWDsnColorDialog=IWKAVMOBILEDsnColorDialog;";
    Want.assign(Options.begin(), Options.begin() + 44);
    for (const std::string& Text : {std::string("RELEASE;"), Aliases, Description}) {
        Want.push_back(static_cast<uint8_t>(Text.size()));
        AddText(Want, Text);
    }
    PadTo4(Want);
    EXPECT_EQ(Options, Want);
}

// One image of an icon file, as its directory entry describes it.
struct TIconEntry {
    int Size;
    unsigned Bits;
    TByteVector Data;
};

std::vector<TIconEntry> ParseIcon(const TByteVector& Ico)
{
    EXPECT_EQ(Le(Ico, 0, 2), 0u);
    EXPECT_EQ(Le(Ico, 2, 2), 1u); // an icon
    std::vector<TIconEntry> Entries;
    size_t End = 6 + 16 * Le(Ico, 4, 2);
    for (size_t I = 0; I < Le(Ico, 4, 2); ++I) {
        const size_t E = 6 + 16 * I;
        EXPECT_EQ(Ico.at(E), Ico.at(E + 1)) << "square";
        EXPECT_EQ(Le(Ico, E + 4, 2), 1u) << "planes";
        const size_t Size = Le(Ico, E + 8, 4), Offset = Le(Ico, E + 12, 4);
        EXPECT_EQ(Offset, End) << "images follow each other";
        EXPECT_LE(Offset + Size, Ico.size());
        End = Offset + Size;
        Entries.push_back(
            {Ico.at(E) == 0 ? 256 : Ico.at(E), Le(Ico, E + 6, 2),
             TByteVector(Ico.begin() + static_cast<long>(Offset), Ico.begin() + static_cast<long>(Offset + Size))});
    }
    EXPECT_EQ(End, Ico.size());
    return Entries;
}

TEST(PackageResources, TheIconIsAStandardIcoFileOfTheDrawnImages)
{
    const std::vector<TIconEntry> Entries = ParseIcon(Fixture().Data("MAINICON"));
    ASSERT_EQ(Entries.size(), 5u);
    const int Sizes[] = {256, 48, 32, 24, 16};
    for (size_t I = 0; I < 5; ++I) {
        EXPECT_EQ(Entries[I].Size, Sizes[I]);
        EXPECT_EQ(Entries[I].Bits, 32u);
    }

    // The 256-pixel image is a PNG that the toolkit reads, with the drawn colours.
    static const uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ASSERT_EQ(std::memcmp(Entries[0].Data.data(), PngSignature, 8), 0);
    const std::string PngFile = testing::TempDir() + "package_icon_256.png";
    std::ofstream(PngFile, std::ios::binary)
        .write(reinterpret_cast<const char*>(Entries[0].Data.data()), static_cast<long>(Entries[0].Data.size()));
    const TBitmap Png = TBitmap::LoadFromPNG(PngFile);
    std::remove(PngFile.c_str());
    const TIconImage Drawn256 = DrawPackageIcon(256);
    ASSERT_EQ(Png.Width(), 256);
    ASSERT_EQ(Png.Height(), 256);
    int Opaque = 0;
    for (int Y = 0; Y < 256; ++Y)
        for (int X = 0; X < 256; ++X)
            if (Drawn256.Alpha[static_cast<size_t>(Y) * 256 + X] != 0) {
                ++Opaque;
                ASSERT_EQ(Png.Pixel(X, Y), Drawn256.Colour.Pixel(X, Y)) << X << "," << Y;
            }
    EXPECT_GT(Opaque, 256 * 256 / 2); // a wheel, not an empty image

    // The 48-pixel one: a bitmap of twice the height, bottom-up BGRA, then the AND mask.
    const TByteVector& Bmp = Entries[1].Data;
    EXPECT_EQ(Le(Bmp, 0, 4), 40u);
    EXPECT_EQ(Le(Bmp, 4, 4), 48u);
    EXPECT_EQ(Le(Bmp, 8, 4), 96u);
    EXPECT_EQ(Le(Bmp, 14, 2), 32u);
    ASSERT_EQ(Bmp.size(), 40 + 48 * 48 * 4 + 48 * 8u);
    const TIconImage Drawn = DrawPackageIcon(48);
    for (const auto& [X, Y] : {std::pair{24, 24}, {12, 30}, {40, 20}, {1, 24}, {0, 0}, {47, 47}}) {
        const size_t P = 40 + (static_cast<size_t>(47 - Y) * 48 + X) * 4;
        const TColor C = Drawn.Colour.Pixel(X, Y);
        EXPECT_EQ(Bmp[P + 0], (C >> 16) & 0xFF) << X << "," << Y;
        EXPECT_EQ(Bmp[P + 1], (C >> 8) & 0xFF) << X << "," << Y;
        EXPECT_EQ(Bmp[P + 2], C & 0xFF) << X << "," << Y;
        const uint8_t Alpha = Drawn.Alpha[static_cast<size_t>(Y) * 48 + X];
        EXPECT_EQ(Bmp[P + 3], Alpha) << X << "," << Y;
        const size_t Mask = 40 + 48 * 48 * 4 + static_cast<size_t>(47 - Y) * 8 + X / 8;
        EXPECT_EQ((Bmp[Mask] >> (7 - X % 8)) & 1, Alpha == 0 ? 1 : 0) << X << "," << Y;
    }
    // The corners lie outside the wheel; the centre is opaque white.
    EXPECT_EQ(Drawn.Alpha[0], 0);
    EXPECT_EQ(Drawn.Alpha[24 * 48 + 24], 255);
}

// A version block node, read from its description: length, value length, type, key.
struct TNode {
    size_t Start, End, Value;
    uint32_t ValueLength, Type;
    std::string Key;
};

TNode Node(const TByteVector& B, size_t Start)
{
    TNode N{Start, Start + Le(B, Start, 2), 0, Le(B, Start + 2, 2), Le(B, Start + 4, 2), ""};
    size_t P = Start + 6;
    for (; Le(B, P, 2) != 0; P += 2) N.Key += static_cast<char>(Le(B, P, 2));
    N.Value = (P + 2 + 3) / 4 * 4;
    return N;
}

std::vector<TNode> Children(const TByteVector& B, const TNode& Parent, size_t ValueBytes)
{
    std::vector<TNode> Result;
    for (size_t P = (Parent.Value + ValueBytes + 3) / 4 * 4; P < Parent.End; P = (Result.back().End + 3) / 4 * 4)
        Result.push_back(Node(B, P));
    EXPECT_EQ(Result.empty() ? Parent.End : Result.back().End, Parent.End);
    return Result;
}

TEST(PackageResources, TheVersionBlockHoldsOneTranslationAndTheTwoVersionStrings)
{
    const TByteVector B = Fixture().Data("1");
    const TNode Root = Node(B, 0);
    ASSERT_EQ(Root.End, B.size());
    EXPECT_EQ(Root.Key, "VS_VERSION_INFO");
    ASSERT_EQ(Root.ValueLength, 52u);
    EXPECT_EQ(Le(B, Root.Value, 4), 0xFEEF04BDu);
    EXPECT_EQ(Le(B, Root.Value + 8, 4), 0x00010000u);  // file version 1.0 …
    EXPECT_EQ(Le(B, Root.Value + 12, 4), 0u);          // … .0.0
    EXPECT_EQ(Le(B, Root.Value + 16, 4), 0x00010000u); // product version
    EXPECT_EQ(Le(B, Root.Value + 20, 4), 0u);

    const std::vector<TNode> Blocks = Children(B, Root, 52);
    ASSERT_EQ(Blocks.size(), 2u);
    EXPECT_EQ(Blocks[0].Key, "StringFileInfo");
    const std::vector<TNode> Tables = Children(B, Blocks[0], 0);
    ASSERT_EQ(Tables.size(), 1u);
    EXPECT_EQ(Tables[0].Key, "040904E4"); // US English, code page 1252
    std::vector<std::pair<std::string, std::string>> Strings;
    for (const TNode& S : Children(B, Tables[0], 0)) {
        EXPECT_EQ(S.Type, 1u);
        std::string Value;
        for (size_t I = 0; I + 1 < S.ValueLength; ++I) Value += static_cast<char>(Le(B, S.Value + 2 * I, 2));
        EXPECT_EQ(Le(B, S.Value + 2 * (S.ValueLength - 1), 2), 0u) << "terminated";
        Strings.emplace_back(S.Key, Value);
    }
    EXPECT_EQ(Strings, (std::vector<std::pair<std::string, std::string>>{{"FileVersion", "1.0.0.0"},
                                                                         {"ProductVersion", "1.0.0.0"}}));

    EXPECT_EQ(Blocks[1].Key, "VarFileInfo");
    const std::vector<TNode> Vars = Children(B, Blocks[1], 0);
    ASSERT_EQ(Vars.size(), 1u);
    EXPECT_EQ(Vars[0].Key, "Translation");
    EXPECT_EQ(Vars[0].ValueLength, 4u);
    EXPECT_EQ(Le(B, Vars[0].Value, 2), Fixture().Get("1").Language);
    EXPECT_EQ(Le(B, Vars[0].Value + 2, 2), 1252u);
}

TEST(PackageResources, TheLoadedModuleFindsItsOwnInMemory)
{
    void* Module = dlopen(QELL_PACKAGE_FIXTURE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(Module, nullptr) << dlerror();
    using TFind = const uint8_t* (*)(const char*, size_t*);
    const auto Find = reinterpret_cast<TFind>(dlsym(Module, "FixtureFindResource"));
    ASSERT_NE(Find, nullptr);
    EXPECT_NE(dlsym(Module, "IWQellRegDE.Register"), nullptr);

    size_t Size = 0;
    const uint8_t* Form = Find("TIWKAVMOBILECOLORFORM", &Size);
    ASSERT_NE(Form, nullptr);
    EXPECT_EQ(TByteVector(Form, Form + Size), ReadFileBytes(QELL_FORM_FILE));
    // In the module's own memory, not a copy.
    Dl_info OfForm, OfCode;
    ASSERT_NE(dladdr(Form, &OfForm), 0);
    ASSERT_NE(dladdr(reinterpret_cast<void*>(Find), &OfCode), 0);
    EXPECT_EQ(OfForm.dli_fbase, OfCode.dli_fbase);
    EXPECT_EQ(Find("NOSUCHRESOURCE", &Size), nullptr);
    dlclose(Module);
}

} // namespace
