#include "platform/toolkit/FileDialogs.h"

#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/rtl/Files.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/Button.h"
#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/ListBox.h"

namespace fs = std::filesystem;

namespace {

constexpr int Margin = 12, Gap = 8, ListWidth = 420, ListHeight = 240, TypesHeight = 36, ButtonWidth = 75,
              ButtonHeight = 25, CaptionWidth = 40;
constexpr const char* Up = "..";

// Whether Name matches one of Patterns ("*.txt;*.dfm").
bool Matches(const std::string& Name, const std::string& Patterns)
{
    size_t Start = 0;
    while (Start <= Patterns.size()) {
        size_t End = Patterns.find(';', Start);
        if (End == std::string::npos) End = Patterns.size();
        const std::string Pattern = Patterns.substr(Start, End - Start);
        if (!Pattern.empty() && fnmatch(Pattern.c_str(), Name.c_str(), FNM_PERIOD) == 0) return true;
        Start = End + 1;
    }
    return false;
}

bool LessWithoutCase(const std::string& A, const std::string& B)
{
    const int C = CompareText(A, B);
    return C != 0 ? C < 0 : A < B;
}

void Refuse(const std::string& Title, const std::string& Text) { MessageBox(Title, Text, {{"OK", "OK", mrOk}}); }

// A list that goes up a folder on Backspace; every other key as a list box.
class TFileList : public TListBox {
public:
    using TListBox::TListBox;
    TNotifyEvent OnGoUp;
    void KeyDown(TKey& Key, TShiftState Shift) override
    {
        if (Key == vkBack && Shift.Empty() && OnGoUp) {
            Key = 0;
            OnGoUp(this);
            return;
        }
        TListBox::KeyDown(Key, Shift);
    }
};

// One run of a chooser: its form, the folder shown and what the list holds.
class TFileChooser {
public:
    explicit TFileChooser(TOpenDialog& Dialog) : FDialog(Dialog) {}

    bool Run(const char* Action)
    {
        Build(Action);
        fs::path Start = FDialog.InitialDir.empty() ? CurrentFolder() : Absolute(FDialog.InitialDir);
        std::string Name;
        if (!FDialog.FileName.empty()) {
            const fs::path Given = Absolute(FDialog.FileName);
            std::error_code Ec;
            if (fs::is_directory(Given, Ec)) {
                Start = Given;
            } else {
                Name = Given.filename().string();
                if (fs::path(FDialog.FileName).has_parent_path()) Start = Given.parent_path();
            }
        }
        if (!ShowFolder(Start, false) && !ShowFolder(CurrentFolder(), false)) ShowFolder("/", false);
        FName->SetText(Name);
        FName->SelectAll();
        const int At = FList->IndexOf(Name);
        if (!Name.empty() && At >= 0 && !IsFolderItem(At)) FList->SetItemIndex(At);
        FForm->SetActiveControl(Name.empty() ? static_cast<TWinControl*>(FList) : FName);
        if (FForm->ShowModal() != mrOk) return false;
        FDialog.FileName = FChosen;
        return true;
    }

private:
    static fs::path CurrentFolder()
    {
        std::error_code Ec;
        fs::path P = fs::current_path(Ec);
        return Ec ? fs::path("/") : P;
    }

    // Text typed or given, as a whole path: "~" is the home folder, a relative path is
    // taken from the folder shown.
    fs::path Absolute(const std::string& Text) const
    {
        fs::path P = Text;
        if (Text == "~" || Text.starts_with("~/")) {
            const char* Home = std::getenv("HOME");
            P = fs::path(Home && *Home ? Home : "/") / Text.substr(Text.size() > 1 ? 2 : 1);
        } else if (P.is_relative()) {
            P = (FFolder.empty() ? CurrentFolder() : FFolder) / P;
        }
        P = P.lexically_normal();
        // "sub/" names the folder "sub": no empty last part.
        if (!P.has_filename() && P.has_relative_path()) P = P.parent_path();
        return P;
    }

    void Build(const char* Action)
    {
        FForm = std::make_unique<TForm>(Application);
        FForm->SetName("FileDialog");
        FForm->SetCaption(FDialog.Title);
        FForm->BorderStyle = bsDialog;
        FForm->Position = poScreenCenter;
        TForm& F = *FForm;

        FFolderLabel = new TLabel(&F);
        FFolderLabel->SetName("Folder");
        FFolderLabel->SetParent(&F);
        FFolderLabel->SetAutoSize(false);
        FFolderLabel->SetBounds(Margin, Margin, ListWidth, 16);

        FList = new TFileList(&F);
        FList->SetName("Files");
        FList->SetParent(&F);
        FList->TabStop = true;
        FList->ClickChooses = false;
        FList->SetBounds(Margin, Margin + 20, ListWidth, ListHeight);
        FList->OnClick = [this](TObject*) { ItemPicked(); };
        FList->OnChoose = [this](TObject*) { ItemChosen(); };
        FList->OnGoUp = [this](TObject*) { GoUp(); };

        int Top = FList->Top() + ListHeight + Gap;
        Caption("Name:", Top + 4);
        FName = new TEdit(&F);
        FName->SetName("FileName");
        FName->SetParent(&F);
        FName->TabStop = true;
        FName->SetBounds(Margin + CaptionWidth, Top, ListWidth - CaptionWidth, 21);

        Top += 21 + Gap;
        Caption("Type:", Top + 2);
        FTypes = new TListBox(&F);
        FTypes->SetName("Types");
        FTypes->SetParent(&F);
        FTypes->TabStop = true;
        FTypes->SetBounds(Margin + CaptionWidth, Top, ListWidth - CaptionWidth, TypesHeight);
        std::vector<std::string> Types;
        for (const TFileFilter& Filter : FDialog.Filters) Types.push_back(Filter.Description);
        if (Types.empty()) Types.push_back("All files (*)");
        FTypes->SetItems(Types);
        FTypes->SetItemIndex(0);
        FTypes->OnClick = [this](TObject*) { ShowFolder(FFolder, true); };

        Top += TypesHeight + Gap;
        const int Right = Margin + ListWidth;
        auto* Ok = new TButton(&F);
        Ok->SetName("OK");
        Ok->SetParent(&F);
        Ok->TabStop = true;
        Ok->SetCaption(Action);
        Ok->Default = true;
        Ok->SetBounds(Right - 2 * ButtonWidth - Gap, Top, ButtonWidth, ButtonHeight);
        Ok->OnClick = [this](TObject*) { NameEntered(); };
        auto* Cancel = new TButton(&F);
        Cancel->SetName("Cancel");
        Cancel->SetParent(&F);
        Cancel->TabStop = true;
        Cancel->SetCaption("Cancel");
        Cancel->Cancel = true;
        Cancel->ModalResult = mrCancel;
        Cancel->SetBounds(Right - ButtonWidth, Top, ButtonWidth, ButtonHeight);
        F.SetClientWidth(ListWidth + 2 * Margin);
        F.SetClientHeight(Top + ButtonHeight + Margin);
    }

    void Caption(const char* Text, int Top)
    {
        auto* L = new TLabel(FForm.get());
        L->SetParent(FForm.get());
        L->SetCaption(Text);
        L->SetBounds(Margin, Top, L->Width(), L->Height());
    }

    std::string Patterns() const
    {
        const auto& Filters = FDialog.Filters;
        const int I = FTypes->ItemIndex();
        return I >= 0 && I < static_cast<int>(Filters.size()) ? Filters[static_cast<size_t>(I)].Patterns : "*";
    }

    // Lists Folder; false, with the folder shown unchanged, when it cannot be read (then
    // the user is told why when Tell is set).
    bool ShowFolder(const fs::path& Folder, bool Tell)
    {
        std::vector<std::string> Folders, Files;
        const std::string Shown = Patterns();
        std::error_code Ec;
        fs::directory_iterator It(Folder, Ec), End;
        for (; !Ec && It != End; It.increment(Ec)) {
            const std::string Name = It->path().filename().string();
            if (Name.starts_with(".")) continue;
            std::error_code Kind;
            if (It->is_directory(Kind)) Folders.push_back(Name + "/");
            else if (Matches(Name, Shown)) Files.push_back(Name);
        }
        if (Ec) {
            if (Tell)
                Refuse(FDialog.Title,
                       "Cannot open the folder " + QuotedFileName(Folder.string()) + ": " + Ec.message());
            return false;
        }
        std::sort(Folders.begin(), Folders.end(), LessWithoutCase);
        std::sort(Files.begin(), Files.end(), LessWithoutCase);
        std::vector<std::string> Items;
        if (Folder.has_relative_path()) Items.push_back(Up);
        FFolderCount = static_cast<int>(Items.size() + Folders.size());
        Items.insert(Items.end(), Folders.begin(), Folders.end());
        Items.insert(Items.end(), Files.begin(), Files.end());
        FFolder = Folder;
        FFolderLabel->SetCaption(Folder.string());
        FList->SetItems(std::move(Items));
        return true;
    }

    bool IsFolderItem(int Index) const { return Index >= 0 && Index < FFolderCount; }

    fs::path ItemPath(int Index) const
    {
        std::string Name = FList->Items(Index);
        if (Name == Up) return FFolder.parent_path();
        if (Name.ends_with("/")) Name.pop_back();
        return FFolder / Name;
    }

    void GoUp()
    {
        if (!FFolder.has_relative_path()) return;
        const std::string Left = FFolder.filename().string() + "/";
        if (ShowFolder(FFolder.parent_path(), true)) FList->SetItemIndex(FList->IndexOf(Left));
    }

    // Opens Folder in the list, which takes the focus; the name box keeps what it holds.
    void OpenFolder(const fs::path& Folder)
    {
        if (!ShowFolder(Folder, true)) return;
        if (FList->Count() > 0) FList->SetItemIndex(0);
        FForm->SetActiveControl(FList);
    }

    void ItemPicked()
    {
        const int I = FList->ItemIndex();
        if (I >= 0 && !IsFolderItem(I)) FName->SetText(FList->Items(I));
    }

    void ItemChosen()
    {
        const int I = FList->ItemIndex();
        if (I < 0) return;
        if (IsFolderItem(I)) {
            if (FList->Items(I) == Up) GoUp();
            else OpenFolder(ItemPath(I));
        } else {
            Take(ItemPath(I));
        }
    }

    // OK, or Enter in the name box: what the box names, else the entry picked.
    void NameEntered()
    {
        const std::string Text = FName->Text();
        if (Text.empty()) {
            ItemChosen();
            return;
        }
        fs::path Path = Absolute(Text);
        std::error_code Ec;
        if (fs::is_directory(Path, Ec)) {
            FName->SetText("");
            OpenFolder(Path);
            return;
        }
        if (!FDialog.DefaultExt.empty() && !Path.has_extension() && !fs::exists(fs::symlink_status(Path, Ec)))
            Path += "." + FDialog.DefaultExt;
        Take(Path);
    }

    void Take(const fs::path& Path)
    {
        if (!FDialog.Acceptable(Path.string())) return;
        FChosen = Path.string();
        FForm->SetModalResult(mrOk);
    }

    TOpenDialog& FDialog;
    std::unique_ptr<TForm> FForm;
    TLabel* FFolderLabel = nullptr;
    TFileList* FList = nullptr;
    TEdit* FName = nullptr;
    TListBox* FTypes = nullptr;
    fs::path FFolder;
    int FFolderCount = 0; // ".." and the sub-folders lead the list
    std::string FChosen;
};

} // namespace

TOpenDialog::TOpenDialog() = default;
TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute()
{
    TFileChooser Chooser(*this);
    return Chooser.Run(ActionCaption());
}

bool TOpenDialog::Acceptable(const std::string& Path)
{
    struct stat St {};
    if (stat(Path.c_str(), &St) != 0) {
        Refuse(Title, QuotedFileName(Path) + " does not exist.");
        return false;
    }
    if (!S_ISREG(St.st_mode)) {
        Refuse(Title, QuotedFileName(Path) + " is not a regular file: choose a file, not a folder, device or pipe.");
        return false;
    }
    return true;
}

TSaveDialog::TSaveDialog() { Title = "Save As"; }

bool TSaveDialog::Acceptable(const std::string& Path)
{
    struct stat St {};
    const std::string Folder = fs::path(Path).parent_path().string();
    if (stat(Folder.empty() ? "/" : Folder.c_str(), &St) != 0 || !S_ISDIR(St.st_mode)) {
        Refuse(Title, "The folder " + QuotedFileName(Folder) + " does not exist.");
        return false;
    }
    if (stat(Path.c_str(), &St) != 0) return true;
    if (!S_ISREG(St.st_mode)) {
        Refuse(Title, QuotedFileName(Path) + " is not a regular file: choose a file, not a folder, device or pipe.");
        return false;
    }
    return MessageBox(Title, QuotedFileName(Path) + " already exists.\nDo you want to replace it?",
                      {{"Yes", "&Yes", mrYes}, {"No", "&No", mrNo}}) == mrYes;
}
