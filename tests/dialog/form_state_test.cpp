// The dialog as a whole: construction, the shared colour state, the setters and the
// selection.

#include "tests/dialog/ColorFormTesting.h"

#include "colour/IWColors.h"

namespace {

TEST_F(ColorFormTest, OpensOnTheCustomPageWithGreyLevels)
{
    EXPECT_PICKER(*Form, 0, 0, 150, 191, 191, 191);
    EXPECT_EQ(Form->TrackBright->Position(), 150);
    EXPECT_EQ(Form->TrackBright->Min(), 0);
    EXPECT_EQ(Form->TrackBright->Max(), 199);
    EXPECT_EQ(Form->PageControl1->ActivePageIndex(), 2);
    EXPECT_EQ(Form->LabelIdent->Caption(), "Identifier:");
    EXPECT_EQ(Form->SelectedIdentifier(), "");
    EXPECT_EQ(Form->PaintBoxColor->Width(), 202);
    EXPECT_EQ(Form->PaintBoxColor->Height(), 202);
    EXPECT_FALSE(Form->IsMarkerEnabled());
    EXPECT_EQ(Form->MarkerX(), -1);
    EXPECT_FALSE(Form->IsInternalUICommand());

    int Identifiers = 0;
    GetColorValues([&](const std::string&) { ++Identifiers; });
    ASSERT_NE(Form->SysColors(), nullptr);
    EXPECT_EQ(Form->SysColors()->Count(), Identifiers);
    EXPECT_EQ(Form->SysColors()->Strings(0), "clBlack");
}

TEST_F(ColorFormTest, LayoutFollowsTheResource)
{
    EXPECT_EQ(Form->Caption(), "TIWColor Editor");
    EXPECT_EQ(Form->ClientWidth(), 385);
    EXPECT_EQ(Form->ClientHeight(), 453);
    EXPECT_EQ(Form->BorderStyle, bsDialog);
    ASSERT_EQ(Form->PageControl1->PageCount(), 3);
    EXPECT_EQ(Form->PageControl1->Pages(0), Form->TabSheetWeb);
    EXPECT_EQ(Form->PageControl1->Pages(1), Form->TabSheetSys);
    EXPECT_EQ(Form->PageControl1->Pages(2), Form->TabSheet1);
    EXPECT_EQ(Form->TabSheet1->Caption(), "Custom Colors");
    EXPECT_EQ(Form->WebColorsGrid->ColCount(), 12);
    EXPECT_EQ(Form->WebColorsGrid->RowCount(), 12);
    EXPECT_EQ(Form->SysColorsGrid->ColCount(), 9);
    EXPECT_EQ(Form->SysColorsGrid->RowCount(), 6);
    EXPECT_EQ(Form->GridCustomColors->ColCount(), 14);
    EXPECT_EQ(Form->GridCustomColors->RowCount(), 2);
    EXPECT_EQ(Form->WebColorsGrid->Options,
              TGridOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine}));
    EXPECT_TRUE(Form->Button1->Default);
    EXPECT_EQ(Form->Button1->ModalResult, mrOk);
    EXPECT_TRUE(Form->Button2->Cancel);
    EXPECT_EQ(Form->Button2->ModalResult, mrCancel);
    EXPECT_EQ(Form->TrackBright->Orientation, trVertical);
    EXPECT_EQ(Form->TrackBright->Frequency, 10);
    EXPECT_EQ(Form->EditBright->Parent(), Form->TabSheet1);
    EXPECT_EQ(Form->editBlue->BoundsRect(), Bounds(320, 136, 33, 21));
    EXPECT_EQ(Form->Button2->BoundsRect(), Bounds(305, 401, 75, 25));
}

TEST_F(ColorFormTest, NamedSelectionChangesOnlyLabelAndSwatch)
{
    const TIWColorEntry& Entry = IWColors[5];
    Form->SetSelectedIdentifier(Entry.Name);
    EXPECT_EQ(Form->SelectedIdentifier(), Entry.Name);
    EXPECT_EQ(Form->LabelIdent->Caption(), std::string("Identifier: ") + Entry.Name);
    EXPECT_EQ(Form->SelectedColor(), Entry.Value);
    EXPECT_EQ(Form->PageControl1->ActivePageIndex(), 2);
    EXPECT_PICKER(*Form, 0, 0, 150, 191, 191, 191);

    // A named colour does not switch to the custom page either.
    Form->PageControl1->SetActivePageIndex(0);
    Form->SetSelectedIdentifier("clBtnFace");
    EXPECT_EQ(Form->SelectedColor(), clBtnFace);
    EXPECT_EQ(Form->PageControl1->ActivePageIndex(), 0);
}

TEST_F(ColorFormTest, NumericSelectionLoadsThePickerAndShowsTheCustomPage)
{
    Form->PageControl1->SetActivePageIndex(0);
    Form->SetSelectedIdentifier("$000000FF");
    EXPECT_EQ(Form->PageControl1->ActivePageIndex(), 2);
    EXPECT_EQ(Form->LabelIdent->Caption(), "Identifier: $000000FF");
    EXPECT_EQ(Form->SelectedColor(), 0x0000FF);
    // Sat and Lum come out one above what the fields accept from the user.
    EXPECT_PICKER(*Form, 0, 200, 200, 255, 0, 0);
    EXPECT_EQ(Form->TrackBright->Position(), Form->TrackBright->Max());

    Form->SetSelectedIdentifier("12632256"); // decimal: (192, 192, 192)
    EXPECT_PICKER(*Form, 0, 0, 151, 192, 192, 192);
}

TEST_F(ColorFormTest, UnknownSelectionRaisesAfterChangingOnlyTheLabel)
{
    Form->SetSelectedIdentifier("Red");
    const TColor Before = Form->SelectedColor();
    for (const char* Bad : {"NoSuchColour", "", "$", "12 "}) {
        EXPECT_THROW(Form->SetSelectedIdentifier(Bad), EConvertError) << Bad;
        EXPECT_EQ(Form->SelectedIdentifier(), Bad);
        EXPECT_EQ(Form->LabelIdent->Caption(), std::string("Identifier: ") + Bad);
        EXPECT_EQ(Form->SelectedColor(), Before);
        EXPECT_EQ(Form->PageControl1->ActivePageIndex(), 2);
        EXPECT_PICKER(*Form, 0, 0, 150, 191, 191, 191);
    }
}

TEST_F(ColorFormTest, SettersWriteTheirControlsUnderTheGuard)
{
    Form->SetRed(10);
    EXPECT_EQ(Form->editRed->Text(), "10");
    EXPECT_EQ(Form->Red(), 10);
    EXPECT_FALSE(Form->IsInternalUICommand());
    // The change handler saw the guard: nothing else followed the new red.
    EXPECT_EQ(Form->Hue(), 0);
    EXPECT_EQ(Form->PickedColor(), 0xBFBFBF);

    // No clamping: out-of-range values reach the field and the control as they are.
    Form->SetHue(-7);
    EXPECT_EQ(Form->Hue(), -7);
    EXPECT_EQ(Form->EditHue->Text(), "-7");
    Form->SetBright(250);
    EXPECT_EQ(Form->Bright(), 250);
    EXPECT_EQ(Form->EditBright->Text(), "250");
    EXPECT_FALSE(Form->IsInternalUICommand());
}

TEST_F(ColorFormTest, GuardIsRestoredWhenAStepRaises)
{
    // A handler that raises while the setter writes its control.
    Form->editGreen->OnChange = [](TObject*) { throw Exception("boom"); };
    EXPECT_THROW(Form->SetGreen(5), Exception);
    EXPECT_FALSE(Form->IsInternalUICommand());

    // And a guard that was already set stays set after a nested setter.
    bool SeenInside = false;
    Form->editGreen->OnChange = [&](TObject*) {
        Form->SetBlue(7);
        SeenInside = Form->IsInternalUICommand();
    };
    Form->SetGreen(6);
    EXPECT_TRUE(SeenInside);
    EXPECT_FALSE(Form->IsInternalUICommand());
}

TEST_F(ColorFormTest, CalcPickedColorFromEitherSpace)
{
    Form->SetHue(50);
    Form->SetSat(199);
    Form->CalcPickedColor(false);
    EXPECT_PICKER(*Form, 50, 199, 150, 96, 191, 1);

    Form->SetRed(255);
    Form->SetGreen(0);
    Form->SetBlue(1);
    Form->CalcPickedColor(true);
    // The components themselves, not a colour derived back from the levels.
    EXPECT_PICKER(*Form, 200, 200, 200, 255, 0, 1);
}

TEST_F(ColorFormTest, MethodsUseTheColourModel)
{
    EXPECT_EQ(Form->HSBtoRGB(0.25L, 0.995L, 0.75L), HSBtoRGB(0.25L, 0.995L, 0.75L));
    Extended H = 0, S = 0, V = 0;
    Form->RGBToHSB(96, 191, 1, H, S, V);
    EXPECT_EQ(H, 0.25L);
    EXPECT_EQ(S, 190.0L / 191.0L);
    EXPECT_EQ(V, 191.0L / 255.0L);
}

TEST(ColorFormLists, CustomListIsPaddedAndShared)
{
    TStringList Short;
    for (int I = 0; I < 3; ++I) Short.Add("$0000000" + std::to_string(I));
    {
        TIWKAVMOBILEColorForm F(nullptr, &Short);
        EXPECT_EQ(F.CustomColors(), &Short);
        F.SetSelectedIdentifier("$00BFBFBF");
        F.GridCustomColors->FocusCell(2, 1);
        F.ButtonAddClick(nullptr);
    }
    ASSERT_EQ(Short.Count(), 28);
    EXPECT_EQ(Short[1], "$00000001");
    EXPECT_EQ(Short[3], "");
    EXPECT_EQ(Short[16], "$00BFBFBF");
    {
        // A second dialog borrows the same list and sees the first one's entries.
        TIWKAVMOBILEColorForm F(nullptr, &Short);
        EXPECT_EQ(F.CustomColors()->Strings(16), "$00BFBFBF");
        EXPECT_EQ(Short.Count(), 28);
    }

    TStringList Long;
    for (int I = 0; I < 30; ++I) Long.Add("");
    TIWKAVMOBILEColorForm F(nullptr, &Long);
    EXPECT_EQ(Long.Count(), 30);
}

TEST(ColorFormLists, FormWithoutALentListKeepsItsOwn)
{
    TIWKAVMOBILEColorForm F(nullptr, nullptr);
    ASSERT_NE(F.CustomColors(), nullptr);
    EXPECT_EQ(F.CustomColors()->Count(), 28);
}

TEST_F(ColorFormTest, OkAnswersTheSelectionAndCancelToo)
{
    Form->SetSelectedIdentifier("Navy");
    EXPECT_EQ(Run("click Button1\n"), mrOk);
    EXPECT_EQ(Form->SelectedIdentifier(), "Navy");
    EXPECT_EQ(Run("key Escape\n"), mrCancel);
    EXPECT_EQ(Run("key Enter\n"), mrOk);
    EXPECT_EQ(Run("key Alt+C\n"), mrCancel);
    // A script that ends with the dialog open cancels it.
    EXPECT_EQ(Run(""), mrCancel);
}

TEST_F(ColorFormTest, SelectionSwatchIsPaintedWithoutItsLastRowAndColumn)
{
    Run("");
    const TColor Background = PixelOf(Form->PaintBoxSelection, 0, 0);
    EXPECT_EQ(Background, ColorToRGB(clBtnFace)); // empty selection: nothing painted
    Form->SetSelectedIdentifier("$00123456");
    Run("");
    EXPECT_EQ(PixelOf(Form->PaintBoxSelection, 0, 0), 0x123456);
    EXPECT_EQ(PixelOf(Form->PaintBoxSelection, 23, 23), 0x123456);
    EXPECT_EQ(PixelOf(Form->PaintBoxSelection, 24, 24), Background);
    EXPECT_EQ(PixelOf(Form->PaintBoxSelection, 24, 0), Background);
}

TEST_F(ColorFormTest, MovingOverTheFormClearsTheStatusText)
{
    Run("page PageControl1 0\nhover WebColorsGrid 10 10\n");
    EXPECT_EQ(Form->StatusBar1->SimpleText(), IWColors[0].Name);
    Run("hover form 200 360\n");
    EXPECT_EQ(Form->StatusBar1->SimpleText(), "");
}

} // namespace

// Ctrl+Tab and Ctrl+Shift+Tab turn the pages wherever the focus is: on the pages, or on a
// button outside them.
TEST_F(ColorFormTest, CtrlTabTurnsThePagesFromAnywhere)
{
    ASSERT_EQ(Form->PageControl1->ActivePageIndex(), 2);
    Form->Button1->SetFocus();
    Run("key Ctrl+Tab\nkey Escape\n");
    EXPECT_EQ(Form->PageControl1->ActivePageIndex(), 0);
    Run("key Ctrl+Tab\nkey Ctrl+Tab\nkey Ctrl+Shift+Tab\nkey Escape\n");
    EXPECT_EQ(Form->PageControl1->ActivePageIndex(), 1);
}
