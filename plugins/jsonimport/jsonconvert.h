#pragma once
// The work of the JSON import plug-in without any window: a diagram document
// in the JSON of `qvtool dump` turned into a diagram file. Standard C++ only.

#include <string>

// Reads the JSON document in jsonFile and writes the diagram it describes
// (with the user blocks it defines) to fgdFile, texts converted to codePage.
// False with a reason, and no file written, when the document is not a sound
// diagram or the file cannot be written.
bool ConvertJsonFile(const std::string& jsonFile, const std::string& fgdFile, int codePage,
                     std::string& error);

// Where the diagram of jsonFile goes: beside it, under its name with ".json"
// (any letter case) replaced by ".fgd", or ".fgd" appended; when that file
// exists already, the first of "name (2).fgd", "name (3).fgd", ... that does
// not, so that an import never overwrites a file; empty when none is free.
std::string ImportTargetName(const std::string& jsonFile);
