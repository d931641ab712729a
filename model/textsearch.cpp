#include "model/textsearch.h"

#include <algorithm>

#include "model/codepage.h"
#include "model/shem.h"

bool ReplacementWouldCycle(const std::string& what, const std::string& with, bool caseSensitive) {
  // An empty search text is never found, so it cannot be found again either.
  if (what.empty()) return false;
  if (caseSensitive) return with.find(what) != std::string::npos;
  return std::search(with.begin(), with.end(), what.begin(), what.end(),
                     [](char a, char b) { return FoldAscii(a) == FoldAscii(b); }) != with.end();
}

int ReplaceAllText(TShem& diagram, const TShemObj* after, const TTextSearch& s) {
  int changed = 0;
  const TShemObj* from = after;
  while (const TShemObj* r = diagram.ReplaceText(from, s.What, s.MatchCase, s.With)) {
    ++changed;
    from = r;
  }
  return changed;
}
