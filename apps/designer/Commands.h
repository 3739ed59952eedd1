#pragma once
// The designer's subcommands. Each takes the arguments after its own name and answers
// the process exit code.

#include <string>
#include <vector>

using TArgs = std::vector<std::string>;

int RunColourCommand(const TArgs& Args);
int RunDialogCommand(const TArgs& Args);
int RunPackageCommand(const TArgs& Args);
