#pragma once
// Drives the colour dialog headless: build it with a lent list, run scripted modal
// sessions, and read its fields, controls and pixels.

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

#include "dialog/IWKAVMOBILEDsnColorDialog.h"
#include "tests/support/FormTesting.h"

class ColorFormTest : public ::testing::Test {
protected:
    void SetUp() override { Form = std::make_unique<TIWKAVMOBILEColorForm>(nullptr, &Custom); }
    void TearDown() override
    {
        Form.reset();
        ResetBackEnd();
    }

    // One modal session fed by Script; the form stays alive afterwards, its surface
    // holding what it showed last.
    TModalResult Run(std::string_view Script)
    {
        const THeadlessBackEnd& Back = UseScript(Script);
        const TModalResult Result = Form->ShowModal();
        EXPECT_FALSE(Back.Failed()) << Back.ScriptError();
        EXPECT_TRUE(Back.Errors().empty()) << Back.Errors().front();
        return Result;
    }

    TColor PixelOf(const TControl* C, int X, int Y) const { return ::PixelOf(*C, X, Y); }
    TColor FieldPixel(int X, int Y) const { return PixelOf(Form->PaintBoxColor, X, Y); }

    TStringList Custom;
    std::unique_ptr<TIWKAVMOBILEColorForm> Form;
};

// Expects the picker to show these levels and components, in fields and controls.
#define EXPECT_PICKER(F, H, S, B, R, G, Bl)                                   \
    do {                                                                      \
        EXPECT_EQ((F).Hue(), H);                                              \
        EXPECT_EQ((F).Sat(), S);                                              \
        EXPECT_EQ((F).Bright(), B);                                           \
        EXPECT_EQ((F).Red(), R);                                              \
        EXPECT_EQ((F).Green(), G);                                            \
        EXPECT_EQ((F).Blue(), Bl);                                            \
        EXPECT_EQ((F).EditHue->Text(), std::to_string(H));                    \
        EXPECT_EQ((F).EditSat->Text(), std::to_string(S));                    \
        EXPECT_EQ((F).EditBright->Text(), std::to_string(B));                 \
        EXPECT_EQ((F).editRed->Text(), std::to_string(R));                    \
        EXPECT_EQ((F).editGreen->Text(), std::to_string(G));                  \
        EXPECT_EQ((F).editBlue->Text(), std::to_string(Bl));                  \
        EXPECT_EQ((F).PickedColor(), (R) + (G) * 256 + (Bl) * 65536);         \
    } while (0)
