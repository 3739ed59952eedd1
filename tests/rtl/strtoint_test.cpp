// The runtime's integer syntax, which colour identifiers and custom colour entries use,
// and how its messages (and every other) quote the text they were given.

#include <gtest/gtest.h>

#include <climits>

#include "platform/rtl/SysUtils.h"

namespace {

void ExpectInt(const char* Text, int32_t Expected)
{
    int32_t V = 12345;
    EXPECT_TRUE(TryStrToInt(Text, V)) << "'" << Text << "'";
    EXPECT_EQ(V, Expected) << "'" << Text << "'";
    EXPECT_EQ(StrToInt(Text), Expected) << "'" << Text << "'";
}

} // namespace

TEST(StrToInt, AcceptsDecimalWithOptionalSign)
{
    ExpectInt("0", 0);
    ExpectInt("42", 42);
    ExpectInt("+42", 42);
    ExpectInt("-42", -42);
    ExpectInt("-0", 0);
    ExpectInt("000000000000000000000000017", 17);
    ExpectInt("2147483647", INT32_MAX);
    ExpectInt("-2147483648", INT32_MIN);
}

TEST(StrToInt, AcceptsDollarHexInEitherCaseUsingAll32Bits)
{
    ExpectInt("$0", 0);
    ExpectInt("$ff", 255);
    ExpectInt("$FF", 255);
    ExpectInt("$aBcDeF", 0xABCDEF);
    ExpectInt("$7FFFFFFF", INT32_MAX);
    ExpectInt("$80000000", INT32_MIN);
    ExpectInt("$FFFFFFFF", -1);
    ExpectInt("$FF00000F", static_cast<int32_t>(0xFF00000Fu));
    ExpectInt("$0000000000FF", 255);
    ExpectInt("-$1", -1);
}

TEST(StrToInt, RejectsEverythingElse)
{
    for (const char* Text : {"", " ", " 1", "1 ", "1 2", "+", "-", "$", "-$", "0x10", "0X10", "1e3", "1.0", "12a",
                             "$G", "$ 1", "--1", "+-1", "2147483648", "-2147483649", "99999999999999999999",
                             "$100000000", "$FFFFFFFFF", "\t5", "5\n", "１"}) {
        int32_t V = 777;
        EXPECT_FALSE(TryStrToInt(Text, V)) << "'" << Text << "'";
        EXPECT_EQ(V, 777) << "a failed parse must leave the value alone";
        EXPECT_THROW(StrToInt(Text), EConvertError) << "'" << Text << "'";
    }
}

TEST(StrToInt, ErrorMessageQuotesTheText)
{
    try {
        StrToInt("12x");
        FAIL() << "no error";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), "'12x' is not a valid integer value");
        EXPECT_STREQ(E.what(), "'12x' is not a valid integer value");
    }
    try {
        StrToInt("");
        FAIL() << "no error";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), "'' is not a valid integer value");
    }
    // A NUL would end the message early and an escape would reach the terminal; a huge
    // text would make a huge message.
    auto Message = [](const std::string& Text) {
        try {
            StrToInt(Text);
        } catch (const EConvertError& E) {
            EXPECT_EQ(std::string(E.what()), E.Message());
            return E.Message();
        }
        return std::string("no error");
    };
    EXPECT_EQ(Message(std::string("1\0" "2", 3)), "'1\\x002' is not a valid integer value");
    EXPECT_EQ(Message("\x1b[2J"), "'\\x1b[2J' is not a valid integer value");
    EXPECT_EQ(Message(std::string(5'000'000, '7')), "'" + std::string(80, '7') + "'... is not a valid integer value");
}

TEST(QuotedInput, ShowsPrintableAsciiAsItIsAndEscapesEveryOtherByte)
{
    EXPECT_EQ(QuotedInput("Bluish"), "'Bluish'");
    EXPECT_EQ(QuotedInput(""), "''");
    EXPECT_EQ(QuotedInput("it's ~ \\ 100%"), "'it's ~ \\ 100%'");
    EXPECT_EQ(QuotedInput(std::string("a\0b", 3)), "'a\\x00b'");
    EXPECT_EQ(QuotedInput("\x1b]0;title\x07\r\n\t"), "'\\x1b]0;title\\x07\\x0d\\x0a\\x09'");
    EXPECT_EQ(QuotedInput("\x7f\x80\xc3\xa9\xff"), "'\\x7f\\x80\\xc3\\xa9\\xff'");
}

TEST(QuotedInput, CutsAtEightyShownCharactersNeverInsideAnEscape)
{
    const std::string Eighty(80, 'a');
    EXPECT_EQ(QuotedInput(Eighty), "'" + Eighty + "'");
    EXPECT_EQ(QuotedInput(Eighty + "b"), "'" + Eighty + "'...");
    EXPECT_EQ(QuotedInput(std::string(5'000'000, 'z')), "'" + std::string(80, 'z') + "'...");
    // 79 characters and an escape of 4 would make 83: the escape is left out whole.
    EXPECT_EQ(QuotedInput(std::string(79, 'a') + "\x1b"), "'" + std::string(79, 'a') + "'...");
    std::string Escapes;
    for (int I = 0; I < 20; ++I) Escapes += "\\x01";
    EXPECT_EQ(QuotedInput(std::string(20, '\x01')), "'" + Escapes + "'");
    EXPECT_EQ(QuotedInput(std::string(21, '\x01')), "'" + Escapes + "'...");
    EXPECT_EQ(QuotedInput("abcdef", 3), "'abc'...");
}

TEST(IntToHex, PadsAndShowsNegativesAsTheir32BitPattern)
{
    EXPECT_EQ(IntToHex(0, 8), "00000000");
    EXPECT_EQ(IntToHex(0xBF, 2), "BF");
    EXPECT_EQ(IntToHex(0xABC, 1), "ABC"); // never truncated
    EXPECT_EQ(IntToHex(0x00FFF8F0, 8), "00FFF8F0");
    EXPECT_EQ(IntToHex(-1, 8), "FFFFFFFF");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(IntToHex(INT32_MIN, 8), "80000000");
    EXPECT_EQ(IntToHex(static_cast<int32_t>(0xFF00000Fu), 8), "FF00000F");
    EXPECT_EQ(IntToHex(5, 0), "5");
}

TEST(IntToStr, Decimal)
{
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-17), "-17");
    EXPECT_EQ(IntToStr(INT32_MIN), "-2147483648");
    EXPECT_EQ(IntToStr(INT64_MAX), "9223372036854775807");
}

TEST(StrToInt, RoundTripsHexAndDecimalTexts)
{
    for (const int32_t V : {0, 1, -1, 255, INT32_MIN, INT32_MAX, 0x123456, -0x654321}) {
        EXPECT_EQ(StrToInt("$" + IntToHex(V, 8)), V);
        EXPECT_EQ(StrToInt(IntToStr(V)), V);
    }
}

namespace {

TEST(TextCase, ComparesAndConvertsIgnoringAsciiCase)
{
    EXPECT_EQ(CompareText("clBtnFace", "CLBTNFACE"), 0);
    EXPECT_TRUE(SameText("Navy", "nAVY"));
    EXPECT_FALSE(SameText("Navy", "Nav"));
    EXPECT_LT(CompareText("Nav", "navy"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    // Underscore sorts by its own code, after the upper-case letters.
    EXPECT_GT(CompareText("a_", "AZ"), 0);
    EXPECT_EQ(UpperCase("Snow é1"), "SNOW é1");
    TTextLess Less;
    EXPECT_FALSE(Less("RED", "red"));
    EXPECT_TRUE(Less("red", "redd"));
}

} // namespace
