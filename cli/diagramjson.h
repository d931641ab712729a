#pragma once
// A diagram and the user blocks it uses as a JSON document:
// {"format":"quorvalin-diagram","version":2|3,"userblocks":[...],"objects":[...]}

#include <string>

#include "json.h"

class TShem;
class TUserBlockList;

// The document for a diagram whose user kinds refer to `list`. Texts are
// converted from the code page to UTF-8.
Json DiagramToJson(const TShem& diagram, const TUserBlockList& list, int codePage);
// Writes the document with one user block or object per line.
std::string FormatDiagramJson(const Json& doc);

// Fills an empty diagram (objects in array order) and an empty list from a
// document. Returns false with a reason when the document is not a sound
// diagram; the caller discards the partial result then.
bool JsonToDiagram(const Json& doc, TShem& diagram, TUserBlockList& list, int codePage,
                   std::string& error);
