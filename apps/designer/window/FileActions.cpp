#include "apps/designer/window/FileActions.h"

#include "apps/designer/document/PageDocument.h"
#include <cstdio>

#include "apps/designer/window/Prompts.h"
#include "platform/components/Components.h"
#include "platform/rtl/Files.h"
#include "platform/toolkit/Application.h"

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

void NewPageWithPrompt(TPageDocument& Document)
{
    if (!AskToClose(Document)) return;
    Document.SetPage(ReadPageText(BlankPageText()), "");
    Document.Announce("New page");
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
    case mrNo:
        // Changes recovered and now discarded are not offered again.
        if (Document.IsRecovered()) Document.DiscardRecovery();
        return true;
    default: return false;
    }
}

void OfferRecovery(TPageDocument& Document)
{
    const std::string Recovered = Document.RecoveryFile();
    if (Recovered.empty()) return;
    // A script has nobody to answer: the file stays for a person to decide.
    if (!Application->BackEnd().Interactive()) {
        std::fprintf(stderr, "%s: %s holds unsaved changes to %s; open the page in the designer's window to "
                             "recover or discard them\n",
                     Application->Title().c_str(), QuotedFileName(Recovered).c_str(),
                     QuotedFileName(Document.FileName()).c_str());
        return;
    }
    switch (AskRecover(Document.FileName(), Recovered)) {
    case mrYes:
        try {
            for (const std::string& Refused : Document.Recover()) ShowMessage(Refused);
        } catch (const Exception& E) {
            ShowMessage(E.Message() + "\nThe page shown is the one on disk.");
        }
        break;
    case mrNo: Document.DiscardRecovery(); break;
    default: break;
    }
}
