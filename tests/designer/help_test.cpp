// F1 in the designer: the keys box, and through its Packages button the packages
// loaded at start, a failing one with its reason; driven headless as a person would.

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "apps/designer/packages/PackageList.h"
#include "tests/designer/DesignerTesting.h"

namespace {


bool Has(const std::string& Text, const std::string& Part) { return Text.find(Part) != std::string::npos; }

TEST(DesignerHelp, F1ListsTheKeysAndItsPackagesButtonTheLoadedAndFailingPackages)
{
    RegisterDesignerScriptVerbs();
    const std::string Broken = ::testing::TempDir() + "help_broken.bpl";
    std::ofstream(Broken) << "not a package";
    TPackageSet Packages;
    ASSERT_TRUE(Packages.Load(DefaultPackagePath()));
    ASSERT_FALSE(Packages.Load(Broken));
    {
        const auto D = std::make_unique<TDesignerForm>(Application);
        D->Document().SetPage(ReadPageText(SamplePageText()), "");
        auto B = std::make_unique<TRecordingBackEnd>("key F1\nclick OK\nkey F1\nclick Packages\nclick OK\nclose\n");
        TRecordingBackEnd& Back = *B;
        Application->SetBackEnd(std::move(B));
        D->ShowModal();
        EXPECT_FALSE(Back.Failed()) << Back.ScriptError();
        ASSERT_EQ(Back.Messages.size(), 3u); // OK closes the keys alone; Packages opens the list
        for (const char* Key : {"Ctrl+O", "Ctrl+S", "Ctrl+Z", "Ctrl+Y", "Ctrl+E", "Ctrl+F", "F1", "F7", "F8"})
            EXPECT_TRUE(Has(Back.Messages[0], Key)) << Key << " in " << Back.Messages[0];
        EXPECT_EQ(Back.Messages[1], Back.Messages[0]);
        // Two columns: the keys, and beside each on its line what it does, all from one place.
        std::set<int> KeysRight, TextsLeft;
        for (const auto& Key : Back.Labels[0])
            for (const auto& Text : Back.Labels[0])
                if (Text.Bounds.Top == Key.Bounds.Top && Text.Bounds.Left > Key.Bounds.Left) {
                    KeysRight.insert(Key.Bounds.Right);
                    TextsLeft.insert(Text.Bounds.Left);
                    EXPECT_TRUE(Has(Back.Messages[0], Key.Caption + " " + Text.Caption)) << Key.Caption;
                }
        EXPECT_GE(KeysRight.size(), 3u) << "keys side by side with their texts";
        ASSERT_EQ(TextsLeft.size(), 1u) << "the texts start at one place";
        EXPECT_LT(*KeysRight.rbegin(), *TextsLeft.begin());
        const std::string& List = Back.Messages[2];
        // The box's lines, joined by spaces.
        EXPECT_TRUE(Has(List, "IW14QellDEDXE7: KAV IntraWeb Qell Controls design time support     " +
                                  DefaultPackagePath() + "     loaded "))
            << List;
        EXPECT_TRUE(Has(List, "help_broken.bpl     " + Broken + "     failed: ")) << List;
        EXPECT_TRUE(Has(List, PackageListPath())) << List;
    }
    ResetBackEnd();
    std::remove(Broken.c_str());
}

} // namespace
