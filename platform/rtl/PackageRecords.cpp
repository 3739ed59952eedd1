#include "platform/rtl/PackageRecords.h"

#include "platform/rtl/Utf8.h"

namespace {

// Fails through R, naming the record, when Text is no valid package or unit name.
void CheckName(std::string_view Text, const char* What, const std::string& Record)
{
    if (Text.empty() || Text.size() > MaxPackageName || !IsPrintableAscii(Text))
        throw EPackageFileError(Record + ": " + What + " '" + std::string(Text) + "' is not 1 to " +
                                std::to_string(MaxPackageName) + " printable ASCII characters");
}

void WriteName(TByteWriter& W, std::string_view Name, const char* What, const std::string& Record)
{
    CheckName(Name, What, Record);
    W.Append(Name);
    W.U8(0);
}

// A zero-terminated name preceded by its hash, which must match it.
std::string ReadHashedName(TByteReader& R, const char* What)
{
    const size_t At = R.Pos();
    const uint8_t Hash = R.U8("name hash");
    std::string Name = R.ZString(What, MaxPackageName);
    if (Hash != PackageNameHash(Name))
        R.Fail(std::string(What) + " '" + Name + "' at offset " + HexOffset(At) + " has hash " + HexOffset(Hash) +
               ", not " + HexOffset(PackageNameHash(Name)));
    return Name;
}

// A signed 32-bit count of entries of at least MinEntrySize bytes each, no more than
// the rest of the record can hold.
size_t ReadCount(TByteReader& R, const char* What, size_t MinEntrySize)
{
    const size_t At = R.Pos();
    const auto Count = static_cast<int32_t>(R.U32(What));
    if (Count < 0 || static_cast<size_t>(Count) > R.Remaining() / MinEntrySize)
        R.Fail(std::string(What) + " " + std::to_string(Count) + " at offset " + HexOffset(At) +
               " is negative or more than the remaining " + std::to_string(R.Remaining()) + " bytes can hold");
    return static_cast<size_t>(Count);
}

// UTF-8 to UTF-16LE code units, without a terminator. Control characters are refused, as
// the decoder refuses them.
void AppendUtf16(TByteWriter& W, std::string_view Text, const char* What)
{
    size_t Pos = 0;
    while (Pos < Text.size()) {
        const uint32_t C = NextCodePoint(Text, Pos);
        if (C == Utf8Invalid || C < 0x20 || C == 0x7F)
            throw EPackageFileError(std::string(What) + ": the text is not valid UTF-8 without control characters");
        if (C >= 0x10000) {
            W.U16(static_cast<uint16_t>(0xD800 + ((C - 0x10000) >> 10)));
            W.U16(static_cast<uint16_t>(0xDC00 + ((C - 0x10000) & 0x3FF)));
        } else {
            W.U16(static_cast<uint16_t>(C));
        }
    }
}

// UTF-16LE code units up to and past a zero one, as UTF-8. Reads no further than Limit.
std::string ReadUtf16(TByteReader& R, const char* Field, size_t Limit)
{
    std::string Text;
    for (;;) {
        if (R.Pos() + 2 > Limit)
            R.Fail(std::string(Field) + " at offset " + HexOffset(R.Pos()) + " has no terminating zero");
        const uint16_t U = R.U16(Field);
        if (U == 0) return Text;
        uint32_t C = U;
        if (U >= 0xD800 && U < 0xDC00 && R.Pos() + 2 <= Limit) {
            const uint16_t Low = R.U16(Field);
            if (Low < 0xDC00 || Low >= 0xE000)
                R.Fail(std::string(Field) + " at offset " + HexOffset(R.Pos() - 4) + " has an unpaired surrogate");
            C = 0x10000 + ((uint32_t{U} - 0xD800) << 10) + (Low - 0xDC00u);
        } else if (U >= 0xD800 && U < 0xE000) {
            R.Fail(std::string(Field) + " at offset " + HexOffset(R.Pos() - 2) + " has an unpaired surrogate");
        } else if (U < 0x20 || U == 0x7F) {
            // Texts are printed on one line each: no line breaks, tabs or other controls.
            R.Fail(std::string(Field) + " at offset " + HexOffset(R.Pos() - 2) + " has a control character");
        }
        AppendUtf8(Text, C);
    }
}

void WriteText8(TByteWriter& W, std::string_view Text, const char* What)
{
    if (Text.size() > 255 || !IsPrintableAscii(Text))
        throw EPackageFileError(std::string("package options: ") + What +
                                " is not at most 255 printable ASCII characters");
    W.U8(static_cast<uint8_t>(Text.size()));
    W.Append(Text);
}

std::string ReadText8(TByteReader& R, const char* What)
{
    const size_t At = R.Pos();
    const uint8_t Length = R.U8(What);
    const TBytes Bytes = R.Take(Length, What);
    std::string Text(Bytes.begin(), Bytes.end());
    if (!IsPrintableAscii(Text)) R.Fail(std::string(What) + " at offset " + HexOffset(At) + " is not printable ASCII");
    return Text;
}

// Version blocks: nodes of a length, a value length, a type (0 binary, 1 text), a
// zero-terminated UTF-16 key, the value and the children, each part starting at a
// multiple of 4 from the start of the block.
constexpr uint16_t BinaryNode = 0, TextNode = 1;
constexpr uint32_t FixedSignature = 0xFEEF04BD, FixedStructVersion = 0x00010000;
constexpr size_t FixedSize = 52;

template <typename TChildren>
void WriteNode(TByteWriter& W, std::string_view Key, uint16_t Type, TBytes Value, uint16_t ValueLength,
               TChildren Children)
{
    W.PadTo(4);
    const size_t Start = W.Bytes.size();
    W.U16(0);
    W.U16(ValueLength);
    W.U16(Type);
    AppendUtf16(W, Key, "version block");
    W.U16(0);
    W.PadTo(4);
    W.Append(Value);
    Children(W);
    if (W.Bytes.size() - Start > UINT16_MAX)
        throw EPackageFileError("version block: the block '" + std::string(Key) + "' exceeds 65535 bytes");
    W.Patch16(Start, static_cast<uint16_t>(W.Bytes.size() - Start));
}

void NoChildren(TByteWriter&) {}

struct TNode {
    std::string Key;
    uint16_t Type;
    uint16_t ValueLength;
    TBytes Value;
    size_t ChildrenStart, End;
};

size_t Align4(size_t Pos) { return (Pos + 3) / 4 * 4; }

// The node at Start, which must end by Limit.
TNode ReadNode(TBytes Block, size_t Start, size_t Limit)
{
    TByteReader R(Block.first(Limit), "version block");
    R.Seek(Start, "block");
    const uint16_t Length = R.U16("block length");
    if (Length < 6 || Length > Limit - Start)
        R.Fail("the block at offset " + HexOffset(Start) + " has length " + std::to_string(Length) + ", outside 6.." +
               std::to_string(Limit - Start));
    TNode N;
    N.End = Start + Length;
    R = TByteReader(Block.first(N.End), "version block");
    R.Seek(Start + 2, "block");
    N.ValueLength = R.U16("value length");
    N.Type = R.U16("block type");
    if (N.Type != BinaryNode && N.Type != TextNode)
        R.Fail("the block at offset " + HexOffset(Start) + " has unknown type " + std::to_string(N.Type));
    N.Key = ReadUtf16(R, "block key", N.End);
    R.Seek(std::min(Align4(R.Pos()), N.End), "value");
    N.Value = R.Take(N.Type == TextNode ? size_t{N.ValueLength} * 2 : N.ValueLength, "value");
    N.ChildrenStart = std::min(Align4(R.Pos()), N.End);
    return N;
}

std::vector<TNode> Children(TBytes Block, const TNode& Parent)
{
    std::vector<TNode> Result;
    for (size_t Pos = Parent.ChildrenStart; Pos < Parent.End; Pos = Align4(Result.back().End))
        Result.push_back(ReadNode(Block, Pos, Parent.End));
    return Result;
}

// The language and code page of a string table's key, 8 hexadecimal digits.
std::pair<uint16_t, uint16_t> TableTranslation(const std::string& Key)
{
    int32_t Value;
    if (Key.size() != 8 || Key.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos ||
        !TryStrToInt("$" + Key, Value))
        throw EPackageFileError("version block: string table key '" + Key + "' is not 8 hexadecimal digits");
    return {static_cast<uint16_t>(static_cast<uint32_t>(Value) >> 16), static_cast<uint16_t>(Value)};
}

} // namespace

uint8_t PackageNameHash(std::string_view Name)
{
    uint8_t Hash = 0;
    for (const char C : Name) {
        const auto Byte = static_cast<uint8_t>(C >= 'a' && C <= 'z' ? C - 'a' + 'A' : C);
        Hash = static_cast<uint8_t>((Hash << 3 | Hash >> 5) ^ Byte);
    }
    return Hash;
}

std::vector<uint8_t> EncodeDescription(std::string_view Text)
{
    TByteWriter W;
    AppendUtf16(W, Text, "description");
    W.U16(0);
    W.PadTo(4);
    return W.Bytes;
}

std::string DecodeDescription(TBytes Record)
{
    TByteReader R(Record, "description");
    std::string Text = ReadUtf16(R, "text", Record.size());
    R.ExpectPaddingToEnd(4);
    return Text;
}

std::vector<uint8_t> EncodePackageInfo(const TPackageInfo& Info)
{
    const std::string Record = "package info";
    TByteWriter W;
    W.U32(Info.Flags);
    W.U32(static_cast<uint32_t>(Info.Requires.size()));
    for (const std::string& Name : Info.Requires) {
        W.U8(PackageNameHash(Name));
        WriteName(W, Name, "required package", Record);
    }
    W.U32(static_cast<uint32_t>(Info.Contains.size()));
    for (const TPackageUnit& Unit : Info.Contains) {
        W.U8(Unit.Flags);
        W.U8(PackageNameHash(Unit.Name));
        WriteName(W, Unit.Name, "unit", Record);
    }
    W.U8(PackageNameHash(Info.Name));
    WriteName(W, Info.Name, "package name", Record);
    W.PadTo(4);
    return W.Bytes;
}

TPackageInfo DecodePackageInfo(TBytes Record)
{
    TByteReader R(Record, "package info");
    TPackageInfo Info;
    Info.Flags = R.U32("flags");
    // An entry takes at least its hash and a one-character name with its terminator.
    for (size_t I = ReadCount(R, "requires count", 3); I > 0; --I)
        Info.Requires.push_back(ReadHashedName(R, "required package"));
    for (size_t I = ReadCount(R, "contains count", 4); I > 0; --I) {
        TPackageUnit Unit;
        Unit.Flags = R.U8("unit flags");
        Unit.Name = ReadHashedName(R, "unit");
        Info.Contains.push_back(std::move(Unit));
    }
    Info.Name = ReadHashedName(R, "package name");
    R.ExpectPaddingToEnd(4);
    return Info;
}

std::vector<uint8_t> EncodePackageOptions(const TPackageOptions& O)
{
    TByteWriter W;
    W.U16(O.Format);
    W.U16(O.Machine);
    for (const uint8_t B : {O.PointerSize, O.IntegerSize, O.WideCharSize, O.ExtendedSize, O.RecordAlignment,
                            O.MinEnumSize, O.StackAlignment})
        W.U8(B);
    W.U8(3); // the number of texts that follow
    W.U32(O.Usage);
    for (const uint16_t V : O.Version) W.U16(V);
    W.U32(O.CodePage);
    W.U32(O.MinStackSize);
    W.U32(O.MaxStackSize);
    W.U64(O.ImageBase);
    WriteText8(W, O.Defines, "the defines");
    WriteText8(W, O.UnitAliases, "the unit aliases");
    WriteText8(W, O.Description, "the description");
    W.PadTo(4);
    return W.Bytes;
}

TPackageOptions DecodePackageOptions(TBytes Record)
{
    TByteReader R(Record, "package options");
    TPackageOptions O;
    O.Format = R.U16("format");
    if (O.Format != TPackageOptions::CurrentFormat) R.Fail("unknown format " + std::to_string(O.Format));
    O.Machine = R.U16("machine");
    for (uint8_t* B : {&O.PointerSize, &O.IntegerSize, &O.WideCharSize, &O.ExtendedSize, &O.RecordAlignment,
                       &O.MinEnumSize, &O.StackAlignment})
        *B = R.U8("size or alignment");
    if (const uint8_t Texts = R.U8("text count"); Texts != 3) R.Fail("text count " + std::to_string(Texts) + ", not 3");
    O.Usage = R.U32("usage");
    for (uint16_t& V : O.Version) V = R.U16("version");
    O.CodePage = R.U32("code page");
    O.MinStackSize = R.U32("minimum stack size");
    O.MaxStackSize = R.U32("maximum stack size");
    O.ImageBase = R.U64("image base");
    O.Defines = ReadText8(R, "defines");
    O.UnitAliases = ReadText8(R, "unit aliases");
    O.Description = ReadText8(R, "description");
    R.ExpectPaddingToEnd(4);
    return O;
}

std::vector<uint8_t> EncodeVersionInfo(const TVersionInfo& Info)
{
    TByteWriter Fixed;
    Fixed.U32(FixedSignature);
    Fixed.U32(FixedStructVersion);
    for (const auto* V : {&Info.FileVersion, &Info.ProductVersion}) {
        Fixed.U32(uint32_t{(*V)[0]} << 16 | (*V)[1]);
        Fixed.U32(uint32_t{(*V)[2]} << 16 | (*V)[3]);
    }
    Fixed.U32(0x3F); // flags mask: the six defined flags
    Fixed.U32(0);    // flags: none (not debug, pre-release, patched, …)
    Fixed.U32(0);    // operating system: unknown, this is no Windows file
    Fixed.U32(2);    // file type: a library
    Fixed.U32(0);    // subtype
    Fixed.U32(0);    // date, high: builds are reproducible, so none
    Fixed.U32(0);    // date, low

    TByteWriter W;
    WriteNode(W, "VS_VERSION_INFO", BinaryNode, Fixed.Bytes, FixedSize, [&](TByteWriter& Root) {
        WriteNode(Root, "StringFileInfo", TextNode, {}, 0, [&](TByteWriter& File) {
            const std::string Key = IntToHex(static_cast<int32_t>(uint32_t{Info.Language} << 16 | Info.CodePage), 8);
            WriteNode(File, Key, TextNode, {}, 0, [&](TByteWriter& Table) {
                for (const auto& [Name, Value] : Info.Strings) {
                    TByteWriter Text;
                    AppendUtf16(Text, Value, "version block");
                    Text.U16(0);
                    WriteNode(Table, Name, TextNode, Text.Bytes, static_cast<uint16_t>(Text.Bytes.size() / 2),
                              NoChildren);
                }
            });
        });
        WriteNode(Root, "VarFileInfo", TextNode, {}, 0, [&](TByteWriter& Var) {
            TByteWriter Translation;
            Translation.U16(Info.Language);
            Translation.U16(Info.CodePage);
            WriteNode(Var, "Translation", BinaryNode, Translation.Bytes, 4, NoChildren);
        });
    });
    return W.Bytes;
}

TVersionInfo DecodeVersionInfo(TBytes Record)
{
    const TNode Root = ReadNode(Record, 0, Record.size());
    if (Root.Key != "VS_VERSION_INFO")
        throw EPackageFileError("version block: the root is '" + Root.Key + "', not VS_VERSION_INFO");
    TByteReader Fixed(Root.Value, "version block: fixed part");
    if (Root.Value.size() != FixedSize || Fixed.U32("signature") != FixedSignature)
        Fixed.Fail("not a " + std::to_string(FixedSize) + "-byte fixed part with its signature");
    Fixed.U32("structure version");
    TVersionInfo Info;
    for (auto* V : {&Info.FileVersion, &Info.ProductVersion})
        for (size_t I = 0; I < 4; I += 2) {
            const uint32_t Both = Fixed.U32("version");
            (*V)[I] = static_cast<uint16_t>(Both >> 16);
            (*V)[I + 1] = static_cast<uint16_t>(Both);
        }

    bool HasTable = false, HasTranslation = false;
    std::pair<uint16_t, uint16_t> TableKey;
    for (const TNode& Block : Children(Record, Root)) {
        if (Block.Key == "StringFileInfo") {
            for (const TNode& Table : Children(Record, Block)) {
                if (HasTable) throw EPackageFileError("version block: more than one string table");
                HasTable = true;
                TableKey = TableTranslation(Table.Key);
                for (const TNode& String : Children(Record, Table)) {
                    TByteReader Value(String.Value, "version block: string " + String.Key);
                    if (String.Type != TextNode) Value.Fail("not a text");
                    // An empty value may be stored without even its terminator.
                    Info.Strings.emplace_back(String.Key,
                                              Value.Size() == 0 ? "" : ReadUtf16(Value, "value", Value.Size()));
                }
            }
        } else if (Block.Key == "VarFileInfo") {
            for (const TNode& Var : Children(Record, Block)) {
                if (Var.Key != "Translation" || Var.Value.size() != 4 || HasTranslation)
                    throw EPackageFileError("version block: '" + Var.Key + "' is not the one 4-byte Translation");
                HasTranslation = true;
                TByteReader Value(Var.Value, "version block: translation");
                Info.Language = Value.U16("language");
                Info.CodePage = Value.U16("code page");
            }
        } else {
            throw EPackageFileError("version block: unknown block '" + Block.Key + "'");
        }
    }
    if (!HasTranslation) throw EPackageFileError("version block: no translation");
    if (HasTable && TableKey != std::pair{Info.Language, Info.CodePage})
        throw EPackageFileError("version block: the string table's language and code page differ from the translation");
    return Info;
}

std::string VersionText(const std::array<uint16_t, 4>& Version)
{
    return std::to_string(Version[0]) + "." + std::to_string(Version[1]) + "." + std::to_string(Version[2]) + "." +
           std::to_string(Version[3]);
}
