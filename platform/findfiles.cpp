#include "platform/findfiles.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// Listing order: by name without regard to case, exact bytes deciding ties,
// so that the order does not depend on how the file system stores a folder.
bool NameBefore(const std::string& a, const std::string& b) {
  const bool less = std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return Lower(x) < Lower(y); });
  if (less) return true;
  const bool greater = std::lexicographical_compare(
      b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) { return Lower(x) < Lower(y); });
  return !greater && a < b;
}

void Search(const std::string& dir, const std::string& pattern, std::set<fs::path>& visited,
            std::vector<std::string>& found) {
  std::error_code ec;
  const fs::path canonical = fs::canonical(dir, ec);
  if (ec || !visited.insert(canonical).second) return;

  std::vector<std::string> files, folders;
  fs::directory_iterator it(dir, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    std::error_code typeError;
    if (it->is_directory(typeError))
      folders.push_back(name);
    else if (!typeError && it->is_regular_file(typeError) && ContainsNoCase(name, pattern))
      files.push_back(name);  // not a pipe or a device, which would block a reader
  }
  std::sort(files.begin(), files.end(), NameBefore);
  std::sort(folders.begin(), folders.end(), NameBefore);
  for (const std::string& f : files) found.push_back(dir + f);
  for (const std::string& sub : folders) Search(dir + sub + '/', pattern, visited, found);
}

}  // namespace

bool ContainsNoCase(const std::string& name, const std::string& pattern) {
  return std::search(name.begin(), name.end(), pattern.begin(), pattern.end(),
                     [](char x, char y) { return Lower(x) == Lower(y); }) != name.end();
}

std::vector<std::string> FindFiles(const std::string& dir, const std::string& pattern) {
  std::vector<std::string> found;
  if (dir.empty()) return found;
  std::set<fs::path> visited;
  Search(dir.back() == '/' ? dir : dir + '/', pattern, visited, found);
  return found;
}
