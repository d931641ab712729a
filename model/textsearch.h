#pragma once
// Searching and replacing the texts of a diagram, as the Find and Replace
// dialogs ask for it: the next block after a starting object, the guard
// against replacements that would feed themselves, and replacing in every
// block from a starting object to the end of the list.

#include <string>

class TShem;
class TShemObj;

// True when `what` occurs in `with`, compared with the ASCII letters folded
// unless caseSensitive (the same comparison as the search itself). Replacing
// `what` by such a text is refused: the replacement could be found again.
// An empty `what` is never found and never cycles.
bool ReplacementWouldCycle(const std::string& what, const std::string& with, bool caseSensitive);

// What one search request names: the search text, the replacement and the
// match-case option.
struct TTextSearch {
  std::string What;
  std::string With;
  bool MatchCase = false;
};

// Replaces every occurrence in every block after `after` (from the start
// when null): ReplaceText again from each block it changed, until none is
// left. Returns the number of blocks changed.
int ReplaceAllText(TShem& diagram, const TShemObj* after, const TTextSearch& s);
