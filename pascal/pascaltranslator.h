#pragma once
// The flowchart-to-Pascal translation behind the export window: reads a
// working copy of a diagram from a stream, collapses it and emits the
// statement part of a routine into the code view's lines.

#include <string>
#include <vector>

#include "pascal/pascalreporter.h"

class TShem;
class TStream;
class TUserBlockList;

class TPascalTranslator {
 public:
  // The code view's lines; they persist between translations, and the first
  // time the view holds one empty line.
  std::vector<std::string> Lines{std::string()};

  // One translation (the window's FormShow): load the working diagram from
  // stream (user blocks resolve against userBlocks, which may be null), run
  // the passes, emit, indent. Returns true when EmitRoutine set the text.
  bool FormShow(TStream& stream, TPascalReporter& reporter, TUserBlockList* userBlocks = nullptr);

  // The emitting step on a collapsed diagram: on success the lines become
  // "begin", the text after the begin block, "end;"; on a message they stay.
  bool EmitRoutine(const TShem& d, TPascalReporter& reporter);

  // Deletes blank lines and indents by the begin/repeat and end/until words.
  static void IndentLines(std::vector<std::string>& lines);
  // Splits a text into lines at CR LF, CR or LF; a final line break adds no
  // empty line.
  static std::vector<std::string> SplitLines(const std::string& text);
};
