#include "platform/graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/rtl/SysUtils.h"
#include "tests/support/FileSizeLimit.h"

namespace {

namespace fs = std::filesystem;

// A fresh directory per test, removed afterwards.
class BitmapFiles : public ::testing::Test {
protected:
    fs::path Dir;
    void SetUp() override
    {
        std::string Template = (fs::temp_directory_path() / "bitmap_test_XXXXXX").string();
        ASSERT_NE(mkdtemp(Template.data()), nullptr);
        Dir = Template;
    }
    void TearDown() override { fs::remove_all(Dir); }
    std::string File(const std::string& Name) const { return (Dir / Name).string(); }
};

// Every pixel different, with all three channels varying independently.
TBitmap Pattern(int W, int H)
{
    TBitmap B(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            B.ScanLine(Y)[X] = static_cast<uint32_t>((X * 37 + Y) & 0xFF) |
                               static_cast<uint32_t>((Y * 53 + X * 3) & 0xFF) << 8 |
                               static_cast<uint32_t>((X * Y + 200) & 0xFF) << 16;
    return B;
}

TEST(Bitmap, SizeFillAndCheckedReads)
{
    TBitmap B(4, 3, clRed);
    EXPECT_EQ(B.Width(), 4);
    EXPECT_EQ(B.Height(), 3);
    EXPECT_EQ(B.Pixel(3, 2), clRed);
    EXPECT_EQ(B.Pixel(4, 0), -1);
    EXPECT_EQ(B.Pixel(0, 3), -1);
    EXPECT_EQ(B.Pixel(-1, 0), -1);

    B.SetSize(-5, 7, clBtnFace);
    EXPECT_EQ(B.Width(), 0);
    EXPECT_EQ(B.Height(), 7);
    EXPECT_EQ(B.Pixel(0, 0), -1);

    // Pixels hold plain colours only, even when filled with a system colour.
    B.SetSize(2, 2, clBtnFace);
    EXPECT_EQ(B.Pixel(1, 1), ColorToRGB(clBtnFace));
}

TEST_F(BitmapFiles, RoundTripKeepsEveryPixel)
{
    const TBitmap Original = Pattern(37, 23);
    Original.SaveToPNG(File("whole.png"));
    EXPECT_EQ(TBitmap::LoadFromPNG(File("whole.png")), Original);
}

TEST_F(BitmapFiles, AreaIsCutOutAndClippedToTheBitmap)
{
    const TBitmap Original = Pattern(30, 20);
    Original.SaveToPNG(File("area.png"), Rect(4, 5, 11, 9));
    const TBitmap Part = TBitmap::LoadFromPNG(File("area.png"));
    ASSERT_EQ(Part.Width(), 7);
    ASSERT_EQ(Part.Height(), 4);
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 7; ++X) EXPECT_EQ(Part.Pixel(X, Y), Original.Pixel(X + 4, Y + 5));

    Original.SaveToPNG(File("edge.png"), Rect(25, -3, 40, 2));
    const TBitmap Edge = TBitmap::LoadFromPNG(File("edge.png"));
    EXPECT_EQ(Edge.Width(), 5);
    EXPECT_EQ(Edge.Height(), 2);
    EXPECT_EQ(Edge.Pixel(0, 0), Original.Pixel(25, 0));
}

TEST_F(BitmapFiles, FailuresNameTheFile)
{
    const std::string Missing = File("no/such/dir/out.png");
    try {
        Pattern(3, 3).SaveToPNG(Missing);
        FAIL() << "writing into a missing directory succeeded";
    } catch (const Exception& E) {
        EXPECT_NE(std::string(E.what()).find(Missing), std::string::npos) << E.what();
    }
    EXPECT_THROW(Pattern(3, 3).SaveToPNG(File("empty.png"), Rect(50, 50, 60, 60)), Exception);
    EXPECT_THROW(TBitmap().SaveToPNG(File("nothing.png")), Exception);
    EXPECT_FALSE(fs::exists(File("empty.png")));

    std::ofstream(File("text.png")) << "not a picture";
    try {
        (void)TBitmap::LoadFromPNG(File("text.png"));
        FAIL() << "reading a text file succeeded";
    } catch (const Exception& E) {
        EXPECT_NE(std::string(E.what()).find(File("text.png")), std::string::npos) << E.what();
    }
    EXPECT_THROW((void)TBitmap::LoadFromPNG(File("absent.png")), Exception);
}

TEST_F(BitmapFiles, AFailedSaveKeepsThePictureThatWasThere)
{
    const std::string Target = File("keep.png");
    Pattern(20, 20).SaveToPNG(Target);
    auto Bytes = [&] {
        std::ifstream In(Target, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(In), {});
    };
    const std::string Old = Bytes();
    {
        TFileSizeLimit Full(Old.size() / 2);
        try {
            Pattern(40, 40).SaveToPNG(Target);
            FAIL() << "saving onto a full disk succeeded";
        } catch (const Exception& E) {
            EXPECT_EQ(std::string(E.what()), "Cannot write '" + Target + "': File too large");
        }
    }
    EXPECT_EQ(Bytes(), Old);
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
}

TEST_F(BitmapFiles, ReadsRGBAKeepingTheColourChannels)
{
    // A 3 x 2 RGBA image: (255,0,0,255) (0,255,0,128) (0,0,255,0) / (18,52,86,255)
    // (200,100,50,10) (1,2,3,4) as red, green, blue, alpha.
    static const char Data[] =
        "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x03\x00\x00\x00\x02"
        "\x08\x06\x00\x00\x00\x9d\x74\x66\x1a\x00\x00\x00\x1e\x49\x44\x41\x54\x78\x9c\x63\xf8\xcf\xc0\xf0"
        "\x1f\x08\x1b\x40\x14\x83\x90\x49\xd8\xff\x13\x29\x46\x5c\x8c\x4c\xcc\x2c\x00\x74\x9d\x07\x8a\x20"
        "\x54\x97\xca\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82";
    std::ofstream(File("rgba.png"), std::ios::binary).write(Data, sizeof Data - 1);
    const TBitmap B = TBitmap::LoadFromPNG(File("rgba.png"));
    ASSERT_EQ(B.Width(), 3);
    ASSERT_EQ(B.Height(), 2);
    EXPECT_EQ(B.Pixel(0, 0), 0x0000FF);
    EXPECT_EQ(B.Pixel(1, 0), 0x00FF00);
    EXPECT_EQ(B.Pixel(2, 0), 0xFF0000);
    EXPECT_EQ(B.Pixel(0, 1), 0x563412);
    EXPECT_EQ(B.Pixel(1, 1), 0x3264C8);
    EXPECT_EQ(B.Pixel(2, 1), 0x030201);
}

} // namespace
