#include "app/templatelist.h"

#include "platform/findfiles.h"

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// Position of the first ".fgd" in name, letter case ignored; npos if none.
size_t FindExtension(const std::string& name) {
  static const std::string ext = ".fgd";
  for (size_t i = 0; i + ext.size() <= name.size(); ++i) {
    size_t k = 0;
    while (k < ext.size() && Lower(name[i + k]) == ext[k]) ++k;
    if (k == ext.size()) return i;
  }
  return std::string::npos;
}

std::vector<std::string> SplitFolders(const std::string& relative) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start < relative.size()) {
    const size_t slash = relative.find('/', start);
    const size_t end = slash == std::string::npos ? relative.size() : slash;
    if (end > start) parts.push_back(relative.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

}  // namespace

std::string TTemplateList::NameOf(const std::string& fileName) {
  const size_t ext = FindExtension(fileName);
  return ext == std::string::npos ? fileName : fileName.substr(0, ext);
}

void TTemplateList::Load(const std::string& folder) {
  items_.clear();
  if (folder.empty()) return;
  const std::string root = folder.back() == '/' ? folder : folder + '/';
  for (const std::string& path : FindFiles(root, ".fgd")) {
    // FindFiles gives root + the path below it.
    const std::string below = path.substr(root.size());
    const size_t slash = below.find_last_of('/');
    TEntry e;
    e.Template.FileName = path;
    e.Template.Name = NameOf(slash == std::string::npos ? below : below.substr(slash + 1));
    if (slash != std::string::npos) e.Folders = SplitFolders(below.substr(0, slash));
    items_.push_back(std::move(e));
  }
}
