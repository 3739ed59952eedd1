#pragma once
// The designer's subcommands. Each takes the arguments after its own name and answers
// the process exit code; what it prints on standard output is checked by main once it
// has returned.

#include <optional>
#include <string>
#include <vector>

using TArgs = std::vector<std::string>;

// Exit codes: done; not done (Cancel, a refused value, a failed check); could not run
// (a usage error, a file or package that cannot be read, a script failing).
constexpr int ExitOk = 0, ExitFailed = 1, ExitError = 2;

int RunColourCommand(const TArgs& Args);
int RunDialogCommand(const TArgs& Args);
int RunPackageCommand(const TArgs& Args);
int RunPackagesCommand(const TArgs& Args);
int RunDesignCommand(const TArgs& Args);
int RunTourCommand(const TArgs& Args);
// The accessibility commands on page files: check (contrast) and preview (a picture).
int RunCheckCommand(const TArgs& Args);
int RunPreviewCommand(const TArgs& Args);
// Whether a window can be shown: then the designer alone on the command line opens it.
bool DesignerWindowAvailable();
// The commands on page files (new, props, get, values, set, reset, edit, draw, add, delete): the exit code
// of the one named Name, or none when there is no such command.
std::optional<int> RunPageCommand(const std::string& Name, const TArgs& Args);

// Each subcommand's usage, after "usage: "; continuation lines are indented to match.
extern const char ColourUsage[];
extern const char DialogUsage[];
extern const char PackageUsage[];
extern const char PackagesUsage[];
extern const char DesignUsage[];
extern const char TourUsage[];
extern const char CheckUsage[];
extern const char PreviewUsage[];
std::string PageUsage();

// qell-designer package check: load, register, finalise and unload, N times.
int RunPackageCheck(const TArgs& Args);

inline bool IsHelp(const std::string& Arg) { return Arg == "--help" || Arg == "-h"; }
