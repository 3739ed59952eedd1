#pragma once
// Drives the colour dialog headless: build it with a lent list, run scripted modal
// sessions, and read its fields, controls and pixels.

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

#include "dialog/IWKAVMOBILEDsnColorDialog.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/backends/HeadlessBackEnd.h"

class ColorFormTest : public ::testing::Test {
protected:
    void SetUp() override { Form = std::make_unique<TIWKAVMOBILEColorForm>(nullptr, &Custom); }
    void TearDown() override
    {
        Form.reset();
        Application->SetBackEnd(std::make_unique<THeadlessBackEnd>());
    }

    // One modal session fed by Script; the form stays alive afterwards, its surface
    // holding what it showed last.
    TModalResult Run(std::string_view Script)
    {
        auto B = std::make_unique<THeadlessBackEnd>(Script);
        THeadlessBackEnd* Raw = B.get();
        Application->SetBackEnd(std::move(B));
        const TModalResult Result = Form->ShowModal();
        EXPECT_FALSE(Raw->Failed()) << Raw->ScriptError();
        EXPECT_TRUE(Raw->Errors().empty()) << Raw->Errors().front();
        return Result;
    }

    // A pixel of a control, in the control's coordinates, as last painted.
    TColor PixelOf(const TControl* C, int X, int Y) const
    {
        const TPoint O = C->SurfaceOrigin();
        return Form->Surface().Pixel(O.X + X, O.Y + Y);
    }
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
