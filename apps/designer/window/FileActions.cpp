#include "apps/designer/window/FileActions.h"

#include "apps/designer/document/PageDocument.h"
#include "apps/designer/window/Prompts.h"
#include "platform/rtl/Files.h"

bool OpenPage(TPageDocument& Document, const std::string& FileName)
{
    try {
        Document.Open(FileName);
    } catch (const Exception& E) {
        ShowMessage(E.Message() + "\nThe page shown stays as it was.");
        return false;
    }
    Document.Announce("Opened " + ExtractFileName(FileName));
    OfferRecovery(Document);
    return true;
}

void OpenWithPrompt(TPageDocument& Document)
{
    if (!AskToClose(Document)) return;
    std::string FileName = Document.FileName();
    if (ChoosePageToOpen(FileName)) OpenPage(Document, FileName);
}

bool SavePageAs(TPageDocument& Document, const std::string& FileName)
{
    try {
        return Document.SaveAs(FileName, [&] {
            switch (AskChangedOnDisk(FileName)) {
            case mrYes: return TChangedOnDisk::Overwrite;
            case mrNo: return TChangedOnDisk::Reload;
            default: return TChangedOnDisk::Cancel;
            }
        });
    } catch (const Exception& E) {
        ShowMessage(E.Message() + "\nThe page is not saved.");
        return false;
    }
}

bool SavePage(TPageDocument& Document)
{
    if (!Document.CommitPendingEdits()) return false;
    if (!Document.FileName().empty()) return SavePageAs(Document, Document.FileName());
    std::string FileName;
    return ChoosePageToSave(FileName) && SavePageAs(Document, FileName);
}

bool AskToClose(TPageDocument& Document)
{
    if (!Document.CommitPendingEdits()) return false;
    if (!Document.IsModified()) return true;
    const std::string& File = Document.FileName();
    switch (AskToSave(File.empty() ? "the new page" : QuotedFileName(File))) {
    case mrYes: return SavePage(Document);
    case mrNo: return true;
    default: return false;
    }
}

void OfferRecovery(TPageDocument& Document)
{
    const std::string Recovered = Document.RecoveryFile();
    if (Recovered.empty()) return;
    switch (AskRecover(Document.FileName(), Recovered)) {
    case mrYes:
        try {
            Document.Recover();
        } catch (const Exception& E) {
            ShowMessage(E.Message() + "\nThe page shown is the one on disk.");
        }
        break;
    case mrNo: Document.DiscardRecovery(); break;
    default: break;
    }
}
