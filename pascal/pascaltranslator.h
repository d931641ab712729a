#pragma once
// The flowchart-to-Pascal translation: reads a working copy of a diagram from
// its stream, collapses it rule by rule and emits the statement part of a
// routine. The window that shows the result (and keeps its lines between
// translations) lives above this core.

#include <string>
#include <vector>

class TShem;
class TStream;
class TUserBlockList;

struct TPascalTranslation {
  // True when a routine was emitted; Lines then hold it, indented. When
  // nothing was emitted Lines is empty and the view keeps what it showed.
  bool Emitted = false;
  std::vector<std::string> Lines;
  // Every message raised, in order; each is shown with the caption "Error".
  std::vector<std::string> Messages;
};

// One translation of the diagram in stream (read from position 0; user blocks
// resolve against userBlocks, which may be null). A stream that is no diagram
// translates as an empty diagram, which has no begin block.
TPascalTranslation Translate(TStream& stream, TUserBlockList* userBlocks = nullptr);
// The same for a diagram, through its stream; the diagram is not touched.
TPascalTranslation Translate(const TShem& diagram);

// The emitting step on a collapsed diagram: on success lines become "begin",
// the text of the block after the begin block, "end;" (not yet indented); on
// a message they are left alone.
bool EmitRoutine(const TShem& d, std::vector<std::string>& lines,
                 std::vector<std::string>& messages);
// Deletes blank lines and indents by the begin/repeat and end/until words.
void IndentLines(std::vector<std::string>& lines);
// Splits a text into lines at CR LF, CR or LF; a final line break adds no
// empty line.
std::vector<std::string> SplitLines(const std::string& text);
