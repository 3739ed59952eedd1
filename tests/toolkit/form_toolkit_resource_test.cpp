// The toolkit's own classes through the form reader and writer.

#include <gtest/gtest.h>

#include "platform/toolkit/Button.h"
#include "platform/toolkit/DrawGrid.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/resources/FormReader.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/PageControl.h"
#include "platform/toolkit/PaintBox.h"
#include "platform/toolkit/StatusBar.h"
#include "platform/toolkit/TrackBar.h"

namespace {

const char* const AllControls = R"(object Sample: TForm
  Caption = 'Every control'
  ClientWidth = 385
  ClientHeight = 453
  BorderStyle = bsDialog
  Position = poDesktopCenter
  Font.Height = -11
  OnCreate = FormCreate
  object Pages: TPageControl
    Left = 8
    Top = 8
    Width = 369
    Height = 337
    ActivePageIndex = 1
    object First: TTabSheet
      Caption = 'First'
      object Grid: TDrawGrid
        Width = 305
        Height = 305
        ColCount = 12
        RowCount = 12
        DefaultColWidth = 24
        Options = [goFixedVertLine, goVertLine]
        OnDrawCell = GridDrawCell
        OnSelectCell = GridSelectCell
      end
    end
    object Second: TTabSheet
      Caption = 'Second'
      object Box: TPaintBox
        Width = 25
        Height = 25
        Color = clWhite
        ParentColor = False
        OnPaint = BoxPaint
      end
      object Track: TTrackBar
        Orientation = trVertical
        Max = 200
        Position = 150
      end
      object Field: TEdit
        Text = 'It''s'
        OnChange = FieldChange
      end
    end
  end
  object Caption1: TLabel
    Left = 8
    Top = 368
    Caption = 'Selection:'
  end
  object Ok: TButton
    Caption = '&OK'
    Default = True
    ModalResult = 1
    Anchors = [akRight, akBottom]
  end
  object Status: TStatusBar
  end
end
)";

class FormToolkitResourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterToolkitClasses();
        B.Handlers["FormCreate"] = TNotifyEvent([this](TObject*) { Log += "create;"; });
        B.Handlers["GridDrawCell"] = TDrawCellEvent([](TObject*, int, int, const TRect&, TGridDrawState) {});
        B.Handlers["GridSelectCell"] = TSelectCellEvent([this](TObject*, int ACol, int ARow, bool&) {
            Log += "select " + std::to_string(ACol) + "," + std::to_string(ARow) + ";";
        });
        B.Handlers["BoxPaint"] = TNotifyEvent([this](TObject*) { Log += "paint;"; });
        B.Handlers["FieldChange"] = TNotifyEvent([this](TObject*) { Log += "change;"; });
    }
    template <typename T>
    T* Find(TComponent& Root, const char* Name)
    {
        return dynamic_cast<T*>(Root.FindComponent(Name));
    }

    TFormBindings B;
    std::string Log;
};

TEST_F(FormToolkitResourceTest, ReadsOneOfEachControl)
{
    TForm Form(nullptr);
    ReadComponentRes(Form, AllControls, B);
    EXPECT_EQ(Form.Name(), "Sample");
    EXPECT_EQ(Form.Caption(), "Every control");
    EXPECT_EQ(Form.ClientWidth(), 385);
    EXPECT_EQ(Form.ClientHeight(), 453);
    EXPECT_EQ(Form.BorderStyle, bsDialog);
    EXPECT_EQ(Form.Position, poDesktopCenter);
    EXPECT_EQ(Form.Font().Height(), -11);
    ASSERT_TRUE(Form.OnCreate);

    auto* Pages = Find<TPageControl>(Form, "Pages");
    ASSERT_NE(Pages, nullptr);
    EXPECT_EQ(Pages->Parent(), &Form);
    EXPECT_EQ(Pages->BoundsRect(), Bounds(8, 8, 369, 337));
    ASSERT_EQ(Pages->PageCount(), 2);
    EXPECT_EQ(Pages->Pages(0), Find<TTabSheet>(Form, "First"));
    // Read before its pages existed; applied by Loaded.
    EXPECT_EQ(Pages->ActivePageIndex(), 1);

    auto* Grid = Find<TDrawGrid>(Form, "Grid");
    ASSERT_NE(Grid, nullptr);
    EXPECT_EQ(Grid->Parent(), Pages->Pages(0));
    EXPECT_EQ(Grid->ColCount(), 12);
    EXPECT_EQ(Grid->DefaultColWidth, 24);
    EXPECT_EQ(Grid->Options, (TGridOptions{goFixedVertLine, goVertLine}));
    EXPECT_TRUE(Grid->OnDrawCell);
    Grid->FocusCell(2, 2);

    auto* Track = Find<TTrackBar>(Form, "Track");
    ASSERT_NE(Track, nullptr);
    EXPECT_EQ(Track->Orientation, trVertical);
    EXPECT_EQ(Track->Position(), 150);
    auto* Field = Find<TEdit>(Form, "Field");
    ASSERT_NE(Field, nullptr);
    EXPECT_EQ(Field->Text(), "It's");
    ASSERT_TRUE(Field->OnChange);
    Field->OnChange(Field);
    auto* Box = Find<TPaintBox>(Form, "Box");
    ASSERT_NE(Box, nullptr);
    EXPECT_EQ(Box->Parent(), Pages->Pages(1));
    EXPECT_FALSE(Box->ParentColor());
    EXPECT_EQ(Box->Color(), clWhite);

    auto* Label = Find<TLabel>(Form, "Caption1");
    ASSERT_NE(Label, nullptr);
    EXPECT_EQ(Label->Caption(), "Selection:");
    auto* Ok = Find<TButton>(Form, "Ok");
    ASSERT_NE(Ok, nullptr);
    EXPECT_TRUE(Ok->Default);
    EXPECT_EQ(Ok->ModalResult, mrOk);
    EXPECT_EQ(Ok->Anchors, (TAnchors{akRight, akBottom}));
    EXPECT_NE(Find<TStatusBar>(Form, "Status"), nullptr);
    EXPECT_EQ(Log, "select 2,2;change;");
}

TEST_F(FormToolkitResourceTest, WritesAndReadsBackTheSameForm)
{
    TForm First(nullptr);
    TBoundEvents Events;
    ReadComponentRes(First, AllControls, B, &Events);
    std::string Text = WriteComponentRes(First, &Events);
    TForm Second(nullptr);
    TBoundEvents Events2;
    ReadComponentRes(Second, Text, B, &Events2);
    EXPECT_EQ(WriteComponentRes(Second, &Events2), Text);
    EXPECT_EQ(Second.ComponentCount(), First.ComponentCount());
    EXPECT_EQ(Find<TPageControl>(Second, "Pages")->ActivePageIndex(), 1);
    EXPECT_EQ(Find<TTrackBar>(Second, "Track")->Position(), 150);
    EXPECT_EQ(Find<TEdit>(Second, "Field")->Text(), "It's");
    EXPECT_NE(Text.find("OnDrawCell = GridDrawCell"), std::string::npos) << Text;
    // The client size stands for the outer size, and which page shows is the page
    // control's to say, not the pages'.
    EXPECT_EQ(Text.find("\n  Width = 385"), std::string::npos) << Text;
    EXPECT_EQ(Text.find("Visible"), std::string::npos) << Text;
}

TEST_F(FormToolkitResourceTest, ToolkitValueErrorsNameTheLine)
{
    TForm Form(nullptr);
    auto Read = [&](const std::string& Body) { ReadComponentRes(Form, "object F: TForm\n" + Body + "\nend\n", B); };
    EXPECT_THROW(Read("  BorderStyle = bsRound"), EReadError);
    EXPECT_THROW(Read("  Color = clNoSuchColour"), EReadError);
    EXPECT_THROW(Read("  Caption = 12"), EReadError);
    EXPECT_THROW(Read("  OnCreate = GridSelectCell"), EReadError); // a handler of the wrong kind
    // A page's bounds belong to its page control.
    EXPECT_THROW(Read("  object P: TPageControl\n    object S: TTabSheet\n      Left = 3\n    end\n  end"),
                 EReadError);
    try {
        ReadComponentRes(Form, "object F: TForm\n object G: TDrawGrid\n  Options = [goDiagonal]\n end\nend", B);
        FAIL() << "no error";
    } catch (const EReadError& E) {
        EXPECT_NE(std::string(E.what()).find("line 3:"), std::string::npos) << E.what();
        EXPECT_NE(std::string(E.what()).find("goDiagonal"), std::string::npos) << E.what();
    }
    EXPECT_EQ(Form.ComponentCount(), 0);
    EXPECT_EQ(Form.ControlCount(), 0);
}

} // namespace
