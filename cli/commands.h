#pragma once
// The qvtool commands. Each takes the arguments after the command name and
// returns the process exit code (0 success, 1 failure, 2 usage error).

#include <string>
#include <vector>

int CmdDump(const std::vector<std::string>& args);
int CmdBuild(const std::vector<std::string>& args);
int CmdCheck(const std::vector<std::string>& args);
int CmdPascal(const std::vector<std::string>& args);
// Built only with the GUI libraries (the painter); QV_WITH_EXPORT is then set.
int CmdExport(const std::vector<std::string>& args);
