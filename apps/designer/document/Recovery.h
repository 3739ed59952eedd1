#pragma once
// Recovery files: a page with unsaved changes, written when the designer must end at
// once (the display is lost, SIGTERM, SIGHUP or SIGINT), and offered when the page is opened
// again. A page's recovery file lies beside it, "PAGE.recovered"; a page without a file
// (or whose folder cannot be written) gets one in $XDG_STATE_HOME/qell-designer/
// (~/.local/state/qell-designer/ by default).

#include <string>
#include <string_view>

// "PAGE.recovered", where a page file's recovered changes are looked for.
std::string RecoveryFileName(const std::string& PageFile);
// Writes Text as the recovery file of PageFile (empty: a page without a file) and
// answers its name. Raises EInOutError naming each place tried when none can be written.
std::string WriteRecoveryFile(const std::string& PageFile, std::string_view Text);
