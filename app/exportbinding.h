#pragma once
// The binding of the graphic export library, libvexolant.so. It is looked for
// only in the program's own folder, by absolute path, never on the library
// search path; GetFilter is called once and its text copied, SaveTo kept, and
// GetLastErrorText asked why a SaveTo failed. Once bound, the library stays
// loaded until the process ends.

#include <string>
#include <vector>

class TExportBinding {
 public:
  // The library's file name, beside the program.
  static constexpr const char* LibraryName = "libvexolant.so";

  // One file type of the filter; Number is its 1-based position, the format
  // number that SaveTo takes.
  struct TFormat {
    int Number = 0;
    std::string Description;  // "GIF-files (*.gif)"
    std::string Wildcard;     // "*.gif"
    std::string Extension;    // ".gif"
  };

  // Loads programDir/libvexolant.so. False, with the reason, when programDir
  // is not absolute, the file is missing, does not load or lacks GetFilter or
  // SaveTo; the binding then stays empty.
  bool Load(const std::string& programDir, std::string* error = nullptr);
  bool Bound() const { return saveTo_ != nullptr; }

  // The kept filter text ("" until bound) and its pairs.
  const std::string& Filter() const { return filter_; }
  std::vector<TFormat> Formats() const { return ParseFilter(filter_); }
  // The pairs of a filter text "description|wildcard|...", in order.
  static std::vector<TFormat> ParseFilter(const std::string& filter);

  // Converts the bitmap file to format `number` beside it (the extension
  // replaced). False with the library's reason when nothing was written.
  bool SaveTo(int number, const std::string& bitmapPath, std::string& error) const;

 private:
  using TGetText = const char* (*)();
  using TSaveTo = unsigned char (*)(unsigned char, const char*);

  std::string filter_;
  TSaveTo saveTo_ = nullptr;
  TGetText lastError_ = nullptr;
};
