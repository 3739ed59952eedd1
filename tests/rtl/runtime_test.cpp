// The runtime's UTF-8 reader and its reference-counted objects.

#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/Interfaces.h"
#include "platform/rtl/Utf8.h"

namespace {

// Well-formed UTF-8 as the standard's table of byte ranges gives it, written apart from
// the reader under test: the length of the sequence at the start of S, or 0.
size_t ReferenceLength(const std::string& S)
{
    struct TRow {
        unsigned Lo[4], Hi[4];
        size_t Len;
    };
    static const TRow Rows[] = {
        {{0x00}, {0x7F}, 1},
        {{0xC2, 0x80}, {0xDF, 0xBF}, 2},
        {{0xE0, 0xA0, 0x80}, {0xE0, 0xBF, 0xBF}, 3},
        {{0xE1, 0x80, 0x80}, {0xEC, 0xBF, 0xBF}, 3},
        {{0xED, 0x80, 0x80}, {0xED, 0x9F, 0xBF}, 3},
        {{0xEE, 0x80, 0x80}, {0xEF, 0xBF, 0xBF}, 3},
        {{0xF0, 0x90, 0x80, 0x80}, {0xF0, 0xBF, 0xBF, 0xBF}, 4},
        {{0xF1, 0x80, 0x80, 0x80}, {0xF3, 0xBF, 0xBF, 0xBF}, 4},
        {{0xF4, 0x80, 0x80, 0x80}, {0xF4, 0x8F, 0xBF, 0xBF}, 4},
    };
    for (const TRow& R : Rows) {
        if (S.size() < R.Len) continue;
        bool In = true;
        for (size_t I = 0; I < R.Len && In; ++I) {
            const unsigned B = static_cast<unsigned char>(S[I]);
            In = B >= R.Lo[I] && B <= R.Hi[I];
        }
        if (In) return R.Len;
    }
    return 0;
}

TEST(Utf8, AgreesWithTheTableOfWellFormedSequences)
{
    std::string S(3, '\0');
    // Every one-, two- and three-byte string.
    for (unsigned A = 0; A < 256; ++A)
        for (unsigned B = 0; B < 256; ++B)
            for (unsigned C = 0; C < 256; C += (A >= 0xE0 && A <= 0xF4) ? 1 : 255) {
                S.assign({static_cast<char>(A), static_cast<char>(B), static_cast<char>(C)});
                ASSERT_EQ(Utf8SequenceLength(S), ReferenceLength(S)) << std::hex << A << " " << B << " " << C;
                ASSERT_EQ(Utf8SequenceLength(S.substr(0, 2)), ReferenceLength(S.substr(0, 2)));
            }
    // Four-byte leads with every second byte and a spread of the others.
    for (unsigned A = 0xF0; A <= 0xF7; ++A)
        for (unsigned B = 0; B < 256; ++B)
            for (unsigned C : {0x00u, 0x80u, 0xBFu, 0xC0u})
                for (unsigned D : {0x7Fu, 0x80u, 0xBFu, 0xFFu}) {
                    S.assign({static_cast<char>(A), static_cast<char>(B), static_cast<char>(C), static_cast<char>(D)});
                    ASSERT_EQ(Utf8SequenceLength(S), ReferenceLength(S)) << std::hex << A << " " << B;
                }
}

TEST(Utf8, StepsOverWholeCharactersAndStrayBytesOneAtATime)
{
    const std::string S = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xFFz"; // a é € 😀 stray z
    std::vector<size_t> Forward{0};
    for (size_t P = 0; P < S.size();) Forward.push_back(P = NextCharPos(S, P));
    EXPECT_EQ(Forward, (std::vector<size_t>{0, 1, 3, 6, 10, 11, 12}));
    std::vector<size_t> Back{S.size()};
    for (size_t P = S.size(); P > 0;) Back.push_back(P = PrevCharPos(S, P));
    EXPECT_EQ(std::vector<size_t>(Back.rbegin(), Back.rend()), Forward);

    size_t Pos = 0;
    std::vector<uint32_t> Codes;
    while (Pos < S.size()) Codes.push_back(NextCodePoint(S, Pos));
    EXPECT_EQ(Codes, (std::vector<uint32_t>{'a', 0xE9, 0x20AC, 0x1F600, Utf8Invalid, 'z'}));
    std::string Round;
    for (uint32_t C : {0x61u, 0xE9u, 0x20ACu, 0x1F600u}) AppendUtf8(Round, C);
    EXPECT_EQ(Round, S.substr(0, 10));
    EXPECT_TRUE(IsValidUtf8(Round));
    EXPECT_FALSE(IsValidUtf8(S));
}

class IProbe : public virtual IInterface {
public:
    static constexpr TGUID IID{0x5A1E0001, 0x0001, 0x0001, {1, 2, 3, 4, 5, 6, 7, 8}};
    virtual int Answer() = 0;
};

class IOther : public virtual IInterface {
public:
    static constexpr TGUID IID{0x5A1E0002, 0x0001, 0x0001, {1, 2, 3, 4, 5, 6, 7, 8}};
};

class TProbe : public TInterfacedObject, public IProbe {
public:
    explicit TProbe(bool& Freed) : FFreed(Freed) {}
    ~TProbe() override { FFreed = true; }
    int Answer() override { return 42; }

protected:
    void* GetInterface(const TGUID& IID) override
    {
        if (IID == IProbe::IID) return static_cast<IProbe*>(this);
        return TInterfacedObject::GetInterface(IID);
    }

private:
    bool& FFreed;
};

TEST(InterfacedObject, FreesItselfWithTheLastReferenceWhicheverInterfaceHoldsIt)
{
    bool Freed = false;
    {
        TInterfacePtr<TProbe> Object(new TProbe(Freed));
        EXPECT_EQ(Object->RefCount(), 1);
        TInterfacePtr<IProbe> Probe;
        ASSERT_TRUE(Supports(Object.Get(), Probe));
        EXPECT_EQ(Probe->Answer(), 42);
        EXPECT_EQ(Object->RefCount(), 2);
        TInterfacePtr<IOther> Other;
        EXPECT_FALSE(Supports(Object.Get(), Other));
        EXPECT_FALSE(Other);
        void* Raw = reinterpret_cast<void*>(1);
        EXPECT_EQ(Object->QueryInterface(IOther::IID, &Raw), E_NOINTERFACE);
        EXPECT_EQ(Raw, nullptr);
        EXPECT_EQ(Object->RefCount(), 2);
        Object = TInterfacePtr<TProbe>();
        EXPECT_FALSE(Freed) << "the interface still holds it";
    }
    EXPECT_TRUE(Freed);
}

} // namespace
