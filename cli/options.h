#pragma once
// Argument handling shared by the qvtool commands.

#include <string>
#include <vector>

// Splits args into positional arguments and the --codepage option. Returns
// false for an unknown option or a bad code page (a usage error).
bool ParseCommonArgs(const std::vector<std::string>& args, std::vector<std::string>& positional,
                     int& codePage);
