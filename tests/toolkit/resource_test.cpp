// The toolkit's property tables, through the form reader and writer.

#include <gtest/gtest.h>

#include "platform/toolkit/Button.h"
#include "platform/toolkit/DrawGrid.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/FormReader.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/PageControl.h"
#include "platform/toolkit/PaintBox.h"
#include "platform/toolkit/TrackBar.h"

namespace {

constexpr const char* Resource = R"(object Dialog: TForm
  BorderStyle = bsDialog
  Caption = 'Colours'
  ClientHeight = 453
  ClientWidth = 385
  Position = poDesktopCenter
  OnCreate = FormCreate
  object Pages: TPageControl
    Left = 8
    Top = 8
    Width = 369
    Height = 337
    ActivePageIndex = 1
    TabOrder = 1
    object First: TTabSheet
      Caption = 'First'
      object Grid: TDrawGrid
        Left = 0
        Top = 1
        Width = 305
        Height = 305
        ColCount = 12
        DefaultColWidth = 24
        FixedCols = 0
        RowCount = 12
        FixedRows = 0
        Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine]
        OnSelectCell = GridSelectCell
      end
    end
    object Second: TTabSheet
      Caption = 'Second'
      object Track: TTrackBar
        Left = 240
        Top = 8
        Width = 33
        Height = 225
        Max = 199
        Orientation = trVertical
        Frequency = 10
        TabOrder = 3
      end
      object Hue: TEdit
        Left = 320
        Top = 8
        Width = 33
        Height = 21
        Text = '0'
      end
    end
  end
  object Swatch: TPaintBox
    Left = 64
    Top = 362
    Width = 25
    Height = 25
    Color = clWhite
    ParentColor = False
  end
  object Ok: TButton
    Left = 209
    Top = 401
    Width = 75
    Height = 25
    Anchors = [akRight, akBottom]
    Caption = '&OK'
    Default = True
    ModalResult = 1
    TabOrder = 2
  end
end
)";

TFormBindings Bindings(int& Created, int& Selected)
{
    TFormBindings B;
    B.Handlers["FormCreate"] = TNotifyEvent([&](TObject*) { ++Created; });
    B.Handlers["GridSelectCell"] = TSelectCellEvent([&](TObject*, int, int, bool&) { ++Selected; });
    return B;
}

TEST(ToolkitResource, ReadsEveryKindOfPropertyAndWritesItBack)
{
    RegisterToolkitClasses();
    int Created = 0, Selected = 0;
    TForm Form(nullptr);
    ReadComponentRes(Form, Resource, Bindings(Created, Selected));

    EXPECT_EQ(Form.ClientWidth(), 385);
    EXPECT_EQ(Form.BorderStyle, bsDialog);
    EXPECT_EQ(Form.Position, poDesktopCenter);
    auto* Pages = dynamic_cast<TPageControl*>(Form.FindComponent("Pages"));
    ASSERT_NE(Pages, nullptr);
    EXPECT_EQ(Pages->ActivePageIndex(), 1); // set before the pages were read
    auto* Grid = dynamic_cast<TDrawGrid*>(Form.FindComponent("Grid"));
    ASSERT_NE(Grid, nullptr);
    EXPECT_EQ(Grid->ColCount(), 12);
    EXPECT_EQ(Grid->DefaultColWidth, 24);
    Grid->FocusCell(2, 2);
    EXPECT_EQ(Selected, 1);
    auto* Track = dynamic_cast<TTrackBar*>(Form.FindComponent("Track"));
    ASSERT_NE(Track, nullptr);
    EXPECT_EQ(Track->Orientation, trVertical);
    EXPECT_EQ(Track->Max(), 199);
    auto* Swatch = dynamic_cast<TPaintBox*>(Form.FindComponent("Swatch"));
    ASSERT_NE(Swatch, nullptr);
    EXPECT_FALSE(Swatch->ParentColor);
    EXPECT_EQ(Swatch->Color, clWhite);
    auto* Ok = dynamic_cast<TButton*>(Form.FindComponent("Ok"));
    ASSERT_NE(Ok, nullptr);
    EXPECT_TRUE(Ok->Default);
    EXPECT_EQ(Ok->ModalResult, mrOk);
    EXPECT_TRUE(Ok->Anchors.Contains(akRight));
    EXPECT_FALSE(Ok->Anchors.Contains(akLeft));

    // Written and read again, the form comes back the same.
    const std::string Text = WriteComponentRes(Form);
    TForm Again(nullptr);
    ReadComponentRes(Again, Text, Bindings(Created, Selected));
    EXPECT_EQ(WriteComponentRes(Again), Text);
    EXPECT_EQ(Text.find("\n  Width = 385"), std::string::npos) << Text; // the client size stands for it
    // Which page shows is the page control's to say, not the pages'.
    EXPECT_EQ(Text.find("Visible"), std::string::npos) << Text;
}

TEST(ToolkitResource, BadValuesAreRejectedNamingTheWord)
{
    RegisterToolkitClasses();
    int Created = 0, Selected = 0;
    TForm Form(nullptr);
    auto Read = [&](const std::string& Body) {
        ReadComponentRes(Form, "object F: TForm\n" + Body + "\nend\n", Bindings(Created, Selected));
    };
    EXPECT_THROW(Read("  BorderStyle = bsRound"), EReadError);
    EXPECT_THROW(Read("  Color = clNoSuchColour"), EReadError);
    EXPECT_THROW(Read("  Caption = 12"), EReadError);
    EXPECT_THROW(Read("  OnCreate = GridSelectCell"), EReadError);
    EXPECT_THROW(Read("  object P: TPageControl\n    object S: TTabSheet\n      Left = 3\n    end\n  end"),
                 EReadError);
    try {
        Read("  object G: TDrawGrid\n    Options = [goVertLine, goDiagonal]\n  end");
        FAIL();
    } catch (const EReadError& E) {
        EXPECT_NE(std::string(E.what()).find("goDiagonal"), std::string::npos) << E.what();
    }
    EXPECT_EQ(Form.ComponentCount(), 0);
}

} // namespace
