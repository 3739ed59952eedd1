// Sizes and positions that no surface could hold are refused, not allocated.

#include <gtest/gtest.h>

#include "platform/toolkit/resources/ClassRegistry.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/resources/FormReader.h"

namespace {

TEST(Limits, AHugeBitmapIsRefusedAndTheOldOneKept)
{
    TBitmap B(3, 2, clRed);
    EXPECT_THROW(B.SetSize(100000, 100000), Exception);
    EXPECT_EQ(B.Width(), 3);
    EXPECT_EQ(B.Height(), 2);
    EXPECT_EQ(B.Pixel(2, 1), clRed);
}

TEST(Limits, ResourcesWithUnallocatableSizesAreReadErrors)
{
    RegisterToolkitClasses();
    for (const char* Line : {"ClientHeight = 1666994627", "ClientWidth = 8193", "Width = 40000"}) {
        TForm Form(nullptr);
        const std::string Text = std::string("object F: TForm\n  ") + Line + "\nend\n";
        try {
            ReadComponentRes(Form, Text, {});
            ADD_FAILURE() << Line << " was accepted";
        } catch (const EReadError& E) {
            EXPECT_NE(std::string(E.what()).find("line 2"), std::string::npos) << E.what();
            EXPECT_NE(std::string(E.what()).find("out of range"), std::string::npos) << E.what();
        }
    }
    TForm Form(nullptr);
    ReadComponentRes(Form,
                     "object F: TForm\n  ClientWidth = 8192\n  ClientHeight = 10\n"
                     "  object B: TButton\n    Left = -32767\n    Width = 32767\n  end\nend\n",
                     {});
    EXPECT_EQ(Form.Surface().Width(), 8192);
}

TEST(Limits, TheSurfaceFollowsTheClientSizeWhenUsed)
{
    TForm Form(nullptr);
    Form.SetClientWidth(30);
    Form.SetClientHeight(20);
    Form.SetColor(clLime);
    EXPECT_EQ(Form.Surface().Width(), 30);
    EXPECT_EQ(Form.Surface().Height(), 20);
    EXPECT_EQ(Form.Surface().Pixel(29, 19), clLime);
}

} // namespace
