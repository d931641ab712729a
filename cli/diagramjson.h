#pragma once
// A diagram and the user blocks it uses as a JSON document:
// {"format":"quorvalin-diagram","version":2|3,"userblocks":[...],"objects":[...]}

#include <string>
#include <vector>

#include "json.h"

class TShem;
class TUserBlockList;

// The document for a diagram whose user kinds refer to `list`. Texts are
// converted from the code page to UTF-8.
Json DiagramToJson(const TShem& diagram, const TUserBlockList& list, int codePage);
// Writes the document with one user block or object per line.
std::string FormatDiagramJson(const Json& doc);

// A text of the document that lost characters to the code page: where it is
// ("objects[3] text", "userblocks[0] name") and the characters that became "?".
struct TTextLoss {
  std::string Where;
  std::u32string Lost;
};

// Fills an empty diagram (objects in array order) and an empty list from a
// document. Returns false with a reason when the document is not a sound
// diagram; the caller discards the partial result then. When losses is given,
// each text that lost characters to the code page is appended to it.
bool JsonToDiagram(const Json& doc, TShem& diagram, TUserBlockList& list, int codePage,
                   std::string& error, std::vector<TTextLoss>* losses = nullptr);
