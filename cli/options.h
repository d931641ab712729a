#pragma once
// Argument handling shared by the qvtool commands.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Splits args into positional arguments and the --codepage option. Returns
// false for an unknown option or a bad code page (a usage error).
bool ParseCommonArgs(const std::vector<std::string>& args, std::vector<std::string>& positional,
                     int& codePage);

// The prologue of the commands that read their first argument as a file:
// parses args (exactly count positional arguments) and reads the first into
// bytes. Returns -1 when the caller may go on, else the exit code: 2 for a
// usage error, 1 for a file that cannot be read (the reason on stderr).
int ReadFirstArgument(const std::vector<std::string>& args, size_t count,
                      std::vector<std::string>& positional, int& codePage,
                      std::vector<uint8_t>& bytes);
