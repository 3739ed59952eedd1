#pragma once
// The designer driven headless as a person drives it, with the real package loaded:
// the fixture every designer scenario shares.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "apps/designer/window/DesignerForm.h"
#include "apps/designer/window/FileActions.h"
#include "apps/designer/packages/PackageHost.h"
#include "colour/IWColors.h"
#include "platform/components/Components.h"
#include "platform/rtl/Files.h"
#include "tests/support/FormTesting.h"

namespace DesignerTesting {

inline TColor Web(const char* Name)
{
    TColor C;
    EXPECT_TRUE(IdentToIWColor(Name, C)) << Name;
    return C;
}

inline std::string TempFile(const std::string& Name) { return ::testing::TempDir() + "designer_" + Name; }

inline std::string Contents(const std::string& File) { return ReadFileText(File, MaxPageFileSize); }

// The package loaded and registered, a designer on the sample page; everything goes
// before the package does, as in the program.
class Designer : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegisterDesignerScriptVerbs();
        RegisterDesignerEditors();
    }
    void SetUp() override { Open(); }
    void TearDown() override { Close(); }

    void Open()
    {
        Package = std::make_unique<TPackageHost>(DefaultPackagePath());
        D = std::make_unique<TDesignerForm>(Application);
        D->Document().SetPage(ReadPageText(SamplePageText()), "");
    }
    void Close()
    {
        D.reset();
        ResetBackEnd();
        Package.reset();
    }

    // Runs the designer on Script; the script must not fail.
    TRecordingBackEnd& Run(std::string_view Script)
    {
        auto B = std::make_unique<TRecordingBackEnd>(Script);
        TRecordingBackEnd& Back = *B;
        Application->SetBackEnd(std::move(B));
        D->ShowModal();
        EXPECT_FALSE(Back.Failed()) << Back.ScriptError();
        return Back;
    }

    // Opens File through the window's file actions, the recovery question answered by
    // Answer as a person at a window would; answers the message boxes shown.
    std::vector<std::string> OpenAsAPerson(const std::string& File, std::string_view Answer)
    {
        auto B = std::make_unique<TRecordingBackEnd>(Answer);
        TRecordingBackEnd& Back = *B;
        Back.AsAPerson = true;
        Application->SetBackEnd(std::move(B));
        D->Document().SetPage(ReadPageText(SamplePageText()), "");
        EXPECT_TRUE(OpenPage(D->Document(), File));
        EXPECT_FALSE(Back.Failed()) << Back.ScriptError();
        return Back.Messages;
    }

    // A script line that selects the inspector row at Path as a person does, with a
    // click on its name (the row revealed first): the rows then have the focus, for
    // typing and the row's keys.
    std::string ClickRow(const std::string& Path) const
    {
        TPropertyInspector& I = D->Inspector();
        EXPECT_TRUE(I.SelectPath(Path)) << Path;
        const TRect R = I.NameRect(I.FindRow(Path));
        EXPECT_FALSE(R.IsEmpty()) << Path << " is not in view";
        return "click Inspector " + std::to_string(R.Left + 30) + " " + std::to_string(R.Top + 5) + "\n";
    }

    template <typename T = TQellButton>
    T& Find(const char* Name) const
    {
        auto* C = dynamic_cast<T*>(D->Document().Page().FindComponent(Name));
        EXPECT_NE(C, nullptr) << Name;
        return *C;
    }
    TQellButtonAppearance& Button() const { return Find("ButtonOrder").Appearance; }
    std::string Text() const { return PageText(D->Document().Page()); }

    std::unique_ptr<TPackageHost> Package;
    std::unique_ptr<TDesignerForm> D;
};

} // namespace DesignerTesting
