#pragma once
// The two template trees of the document context menu, "Replace to" >
// "Templates" and "Insert " > "Templates", built in step from the list.

#include <functional>

class QMenu;
class TTemplateList;

// For each template i in list order: walks its folders from both roots in
// step, descending into the submenu captioned exactly like the folder (found
// in the first tree, taken at the same position in the second) or appending a
// new submenu to both; then appends an entry captioned with the template's
// name and tagged i (the action's data) to each: in the first tree it runs
// onReplace(i), in the second onInsert(i). Without templates both roots are
// hidden.
void BuildTemplateMenus(const TTemplateList& list, QMenu* replaceRoot, QMenu* insertRoot,
                        const std::function<void(int)>& onReplace,
                        const std::function<void(int)>& onInsert);
