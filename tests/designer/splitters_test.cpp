// The panes the user sizes: the splitters between the columns and above the description
// line dragged as a person drags them, the window resized under them, and the layout
// kept in its file for the next start, a damaged or hostile file passed over.

#include <sys/stat.h>

#include <fstream>

#include "apps/designer/window/LayoutSettings.h"
#include "tests/designer/DesignerTesting.h"

namespace {

using namespace DesignerTesting;

struct TColumns {
    int List, Preview, Inspector;
    bool operator==(const TColumns&) const = default;
};

std::ostream& operator<<(std::ostream& S, const TColumns& C)
{
    return S << C.List << " | " << C.Preview << " | " << C.Inspector;
}

class Splitters : public Designer {
protected:
    TColumns Columns() const { return {D->List().Width(), D->Preview().Width(), D->Inspector().Width()}; }
    // Drags the splitter NAME By pixels (across, or down for the description's).
    void DragBy(const std::string& Name, int By)
    {
        const bool Down = Name == "DescriptionSplitter";
        const std::string From = Down ? "40 3" : "4 40";
        const std::string To = Down ? "40 " + std::to_string(3 + By) : std::to_string(4 + By) + " 40";
        Run("drag " + Name + " " + From + " " + To + "\n");
    }
    const TDescriptionLine& Line() const { return D->InspectorPane().Description(); }
};

TEST_F(Splitters, EachSplitterSizesItsPanesAndTheWindowKeepsWhatTheUserGave)
{
    using F = TDesignerForm;
    Run("resize form 1216 540\n");
    ASSERT_EQ(Columns(), (TColumns{220, 1216 - 4 * F::Gap - 520, 300}));
    Run("hover ComponentsSplitter 4 40\n");
    EXPECT_EQ(Application->BackEnd().Cursor(), crSizeWE);

    DragBy("ComponentsSplitter", 80);
    EXPECT_EQ(Columns(), (TColumns{300, 1216 - 4 * F::Gap - 600, 300}));
    EXPECT_EQ(D->Palette().Width(), 300) << "the palette under the list";
    EXPECT_EQ(D->Preview().Left(), 2 * F::Gap + 300);
    DragBy("InspectorSplitter", -150);
    EXPECT_EQ(Columns(), (TColumns{300, 1216 - 4 * F::Gap - 750, 450}));
    EXPECT_EQ(D->Inspector().Left() + D->Inspector().Width(), 1216 - F::Gap);
    EXPECT_EQ(D->InspectorPane().Filter().Width(), 450);
    EXPECT_EQ(Line().Width(), 450);

    // No pane below its minimum, however far the pointer goes.
    DragBy("InspectorSplitter", -2000);
    EXPECT_EQ(Columns(), (TColumns{300, F::MinPreviewWidth, 1216 - 4 * F::Gap - 300 - F::MinPreviewWidth}));
    DragBy("InspectorSplitter", 2000);
    EXPECT_EQ(Columns().Inspector, F::MinInspectorWidth);
    DragBy("ComponentsSplitter", -2000);
    EXPECT_EQ(Columns().List, F::MinListWidth);
    DragBy("ComponentsSplitter", 180);
    DragBy("InspectorSplitter", -200);
    const TColumns Given = Columns();
    ASSERT_EQ(Given, (TColumns{300, 1216 - 4 * F::Gap - 700, 400}));

    // A narrower window takes the room from the page; too narrow for it, from the list
    // and the inspector in proportion to what they have over their minimums. Wider
    // again, they get their widths back.
    Run("resize form 1000 540\n");
    EXPECT_EQ(Columns(), (TColumns{300, 1000 - 4 * F::Gap - 700, 400}));
    Run("resize form 800 540\n");
    const TColumns Narrow = Columns();
    EXPECT_EQ(Narrow.Preview, F::MinPreviewWidth);
    EXPECT_EQ(Narrow.List + Narrow.Preview + Narrow.Inspector, 800 - 4 * F::Gap);
    EXPECT_NEAR((Narrow.List - F::MinListWidth) * 200.0 / (Narrow.Inspector - F::MinInspectorWidth), 180, 2)
        << Narrow << ": 180 over the list's minimum to 200 over the inspector's";
    Run("resize form 1216 540\n");
    EXPECT_EQ(Columns(), Given);

    // The description line: as high as dragged, whatever its text; its own height back
    // after a double click on the splitter.
    Run("pick ButtonOrder\ninspect Inspector Left\n");
    const int Own = Line().Height();
    ASSERT_EQ(Own, TDescriptionLine::DefaultHeight);
    DragBy("DescriptionSplitter", -100);
    EXPECT_EQ(Line().Height(), Own + 100);
    EXPECT_EQ(D->InspectorPane().DescriptionHeight(), Own + 100);
    EXPECT_EQ(D->Inspector().Top() + D->Inspector().Height() + TInspectorPane::SplitterHeight, Line().Top());
    Run("inspect Inspector Appearance.TextColor\n");
    EXPECT_EQ(Line().Height(), Own + 100) << "the user's height wins over the text's";
    DragBy("DescriptionSplitter", 1000);
    EXPECT_EQ(Line().Height(), TInspectorPane::MinDescriptionHeight);
    DragBy("DescriptionSplitter", -1000);
    EXPECT_EQ(D->Inspector().Height(), TInspectorPane::MinRowsHeight) << "the rows keep three";
    Run("dblclick DescriptionSplitter 40 3\n");
    EXPECT_EQ(D->InspectorPane().DescriptionHeight(), 0);
    EXPECT_EQ(Line().Height(), Line().HeightNeeded(Line().Width())) << "its own again, grown with its text";
    Run("hover DescriptionSplitter 40 3\n");
    EXPECT_EQ(Application->BackEnd().Cursor(), crSizeNS);

    // Kept for the session: a new page, the same panes.
    const TPaneSizes Kept = D->PaneSizes();
    D->Document().SetPage(ReadPageText(SamplePageText()), "");
    Run("pick LabelTitle\n");
    EXPECT_EQ(D->PaneSizes(), Kept);
    EXPECT_EQ(Columns(), Given);
}

// What the window was left as comes back at the next start, through the file.
TEST_F(Splitters, TheNextStartReadsTheSizesTheLastOneLeft)
{
    Run("resize form 1100 600\n");
    DragBy("ComponentsSplitter", 60);
    DragBy("InspectorSplitter", -90);
    DragBy("DescriptionSplitter", -40);
    const int NameY = D->Inspector().RowRect(0).Top + 5;
    Run("drag Inspector " + std::to_string(D->Inspector().NameWidth) + " " + std::to_string(NameY) + " 170 " +
        std::to_string(NameY) + "\n");
    const TColumns Before = Columns();
    const TPaneSizes Sizes = D->PaneSizes();
    EXPECT_EQ(Sizes, (TPaneSizes{280, 390, 170, TDescriptionLine::DefaultHeight + 40}));
    const std::string File = TempFile("layout/qell-designer/layout");
    std::remove(File.c_str());
    WriteLayoutSettings(File, {D->Width(), D->Height(), Sizes});
    EXPECT_EQ(Contents(File), "window 1100x600\ncomponents 280\ninspector 390\nnames 170\ndescription " +
                                  std::to_string(TDescriptionLine::DefaultHeight + 40) + "\n");

    Close();
    Open();
    ASSERT_NE(D->PaneSizes(), Sizes) << "a new window starts as it always did";
    TLayoutSettings Read;
    EXPECT_EQ(ReadLayoutSettings(File, Read), "");
    EXPECT_EQ(Read.Width, 1100);
    EXPECT_EQ(Read.Height, 600);
    D->SetBounds(0, 0, Read.Width, Read.Height);
    D->SetPaneSizes(Read.Panes);
    EXPECT_EQ(D->PaneSizes(), Sizes);
    EXPECT_EQ(Columns(), Before);
    EXPECT_EQ(Line().Height(), TDescriptionLine::DefaultHeight + 40);
}

// A layout file is read like any file that may be hostile: bounded, line by line, each
// value in range, and the window fits what it takes to itself.
TEST_F(Splitters, ADamagedOrHostileLayoutFileIsPassedOver)
{
    const std::string File = TempFile("hostile_layout");
    const auto Write = [&](const std::string& Text) {
        std::remove(File.c_str());
        std::ofstream(File, std::ios::binary) << Text;
    };
    const TLayoutSettings Start{1216, 540, {}};
    const auto Read = [&](std::string& Problem) {
        TLayoutSettings L = Start;
        Problem = ReadLayoutSettings(File, L);
        return L;
    };
    std::string Problem;

    std::remove(File.c_str());
    EXPECT_EQ(Read(Problem).Panes, TPaneSizes{});
    EXPECT_EQ(Problem, "") << "no file is no fault";

    Write(std::string("\x7f" "ELF\0\x01\x02 window 99999x3\n\xff\xfe", 24) + "components -5\ninspector 1e3\n"
          "names 99999999999999999999\ndescription 12 \nwindow 900x\nwindow x700\ncomponents\n");
    TLayoutSettings L = Read(Problem);
    EXPECT_EQ(L.Width, 1216);
    EXPECT_EQ(L.Height, 540);
    EXPECT_EQ(L.Panes, TPaneSizes{}) << "not a line of it is a setting";
    EXPECT_EQ(Problem, QuotedFileName(File) + ": line 1 passed over");

    // Good lines count among bad ones; sizes the window cannot give are fitted by it.
    Write("components 8000\nbogus 1\ninspector 1\r\ninspector 10\nnames 5000\ndescription 8000\nwindow 0x0\n");
    L = Read(Problem);
    EXPECT_EQ(L.Panes, (TPaneSizes{8000, 10, 5000, 8000}));
    EXPECT_EQ(L.Width, 0);
    EXPECT_EQ(Problem, QuotedFileName(File) + ": line 2 passed over");
    D->SetPaneSizes(L.Panes);
    Run("resize form 800 480\n");
    EXPECT_EQ(D->Width(), TDesignerForm::MinWidth);
    EXPECT_EQ(D->Preview().Width(), TDesignerForm::MinPreviewWidth);
    EXPECT_EQ(D->Inspector().Width(), TDesignerForm::MinInspectorWidth);
    EXPECT_EQ(D->List().Width() + D->Preview().Width() + D->Inspector().Width(), 800 - 4 * TDesignerForm::Gap);
    EXPECT_GE(D->Inspector().Height(), TInspectorPane::MinRowsHeight);
    EXPECT_LE(D->Inspector().NameWidth, D->Inspector().Width());

    // Larger than a layout could be: refused whole, unread; a FIFO never waited on.
    Write("components 300\n" + std::string(MaxLayoutFileSize, '\n'));
    EXPECT_EQ(Read(Problem).Panes, TPaneSizes{});
    EXPECT_NE(Problem.find("Cannot read"), std::string::npos) << Problem;
    std::remove(File.c_str());
    ASSERT_EQ(mkfifo(File.c_str(), 0600), 0);
    EXPECT_EQ(Read(Problem).Panes, TPaneSizes{});
    EXPECT_NE(Problem.find("FIFO"), std::string::npos) << Problem;
    std::remove(File.c_str());
}

// The file is the program's own: replaced whole, never written through a link.
TEST(LayoutSettings, WritingReplacesWhatLiesAtTheNameAndMakesTheFolder)
{
    const std::string Folder = ::testing::TempDir() + "layout_write";
    const std::string File = Folder + "/deep/qell-designer/layout", Target = Folder + "/target";
    std::remove(File.c_str());
    std::remove(Target.c_str());
    WriteLayoutSettings(File, {900, 700, {}});
    TLayoutSettings L;
    EXPECT_EQ(ReadLayoutSettings(File, L), "");
    EXPECT_EQ(L.Width, 900);
    struct stat Info;
    ASSERT_EQ(stat(File.c_str(), &Info), 0);
    EXPECT_EQ(Info.st_mode & 0777, 0600u);

    std::ofstream(Target) << "keep\n";
    std::remove(File.c_str());
    ASSERT_EQ(symlink(Target.c_str(), File.c_str()), 0);
    WriteLayoutSettings(File, {1000, 700, {}});
    EXPECT_EQ(Contents(Target), "keep\n");
    ASSERT_EQ(lstat(File.c_str(), &Info), 0);
    EXPECT_TRUE(S_ISREG(Info.st_mode));
    std::remove(File.c_str());
    std::remove(Target.c_str());
}

} // namespace
