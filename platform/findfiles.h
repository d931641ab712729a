#pragma once
// FindFiles: the files of a folder tree whose names contain a pattern. The
// program finds its import plug-ins and its templates with it.

#include <string>
#include <vector>

// The full paths of all files under dir (its subfolders included) whose name
// contains pattern anywhere, compared without regard to ASCII letter case (so
// ".so" also matches "x.so.old"). Names that begin with "." are skipped,
// files and folders alike. The files of a folder come first, sorted by name,
// then those of each subfolder in turn, depth first, subfolders sorted by
// name as well. A path is dir, one "/" and the path below dir. A missing or
// unreadable folder yields nothing. Only regular files count (symbolic links
// to them included); a folder reached again through a symbolic link is not
// searched twice.
std::vector<std::string> FindFiles(const std::string& dir, const std::string& pattern);

// True when name contains pattern, ASCII letters compared without case. An
// empty pattern is contained in every name.
bool ContainsNoCase(const std::string& name, const std::string& pattern);
