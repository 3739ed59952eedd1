#pragma once
// What the commands on page files share: reading their arguments, the package loaded as
// the designer loads it, the page opened as a document (apps/designer/document), and
// printing page text safely. Each command reaches a property through the editor the
// inspector would use for it: the package's colour editor for its colours, the host's
// editors for the rest.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "apps/designer/commands/Commands.h"
#include "apps/designer/commands/Options.h"
#include "apps/designer/document/PageDocument.h"
#include "apps/designer/packages/PackageHost.h"

// A page command's arguments: the positional ones and the package (the default one
// unless --package names another).
struct TPageArgs {
    std::vector<std::string> P;
    std::string Package;
};
using TDeclareProc = std::function<void(TOptionParser& Parser)>;
using TCheckProc = std::function<bool(const TOptionParser& Parser)>;

// Runs the page command Name: reads Args (between Min and Max positional arguments,
// --package, and the options Declare adds, which Check judges once read: false when it
// reported a usage error), then Body. An error Body raises (a file, package or path that
// is not there, a page that does not read, a file that cannot be written) is reported
// in one line: exit 2.
int RunPage(const char* Name, const char* Usage, const TArgs& Args, size_t Min, size_t Max,
            const std::function<int(const TPageArgs& A)>& Body, const TDeclareProc& Declare = {},
            const TCheckProc& Check = {});

// A page file opened as a document once the package is loaded; the package goes last,
// after the document and after every editor, which the caller declares after this.
class TPageSession {
public:
    // ForWriting: the page is locked from its read until the session ends.
    TPageSession(const std::string& PackagePath, const std::string& FileName, bool ForWriting = false);
    TPageDocument& Document() { return FDocument; }

private:
    TPackageHost FPackage;
    TPageDocument FDocument;
};

// The editor at Path, which must offer Attribute: what a command needs from it.
// Lacking names the attribute in the message ("dialog").
TInterfacePtr<TPropertyEditor> EditorWith(TPageDocument& Document, const std::string& Path,
                                          TPropertyAttribute Attribute, const char* Lacking);

// Page text within one tab-separated field of one line: tab, line feed, carriage return
// and backslash as \t, \n, \r and \\, every other control character (C0, DEL, C1) and
// every byte that is not well-formed UTF-8 as \xNN, so that no page can steer the
// terminal that shows it. Other characters stay as they are.
std::string OneField(std::string_view Text);
// Text and a line feed on standard output.
void PrintLine(std::string_view Text);

// The page commands, each in a file of its own.
extern const char NewUsage[], PropsUsage[], GetUsage[], ValuesUsage[], SetUsage[], ResetUsage[], EditUsage[],
    DrawUsage[], AddUsage[], DeleteUsage[];
int RunNew(const TArgs& Args);
int RunProps(const TArgs& Args);
int RunGet(const TArgs& Args);
int RunValues(const TArgs& Args);
int RunSet(const TArgs& Args);
int RunReset(const TArgs& Args);
int RunEdit(const TArgs& Args);
int RunDraw(const TArgs& Args);
int RunAdd(const TArgs& Args);
int RunDelete(const TArgs& Args);
