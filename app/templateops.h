#pragma once
// The work of the template commands on diagrams, without any window:
// loading a template with its blocks moved to start at (0, 0), and replacing
// one block of a diagram by a template. Standard C++ only.

#include <string>
#include <vector>

#include "model/geometry.h"

class TShem;
class TShemObj;

// Loads the diagram file into `into` (an empty diagram whose UserBlocks is
// set) and moves every block by minus the top-left corner of its Bounds, so
// that the blocks start at (0, 0). False, with the reason, when the file is
// no diagram.
bool LoadTemplate(const std::string& fileName, TShem& into, std::string* error = nullptr);

// The size of a loaded template: the bottom-right corner of its Bounds.
// (0, 0) for a template without blocks.
TPoint TemplateSize(const TShem& tmpl);
bool HasBlocks(const TShem& tmpl);

// Replaces block b of doc by copies of tmpl (loaded by LoadTemplate):
// 1. with (W, H) the template's size and w x h b's, every block whose top
//    edge is below b's moves down by H - h, then every block whose left edge
//    is right of b's moves right by W - w (b and links stay);
// 2. the template is copied in with b's top-left corner as offset;
// 3. every end of a link at b moves to the top-most inserted block (smallest
//    top edge) when its point lies at or above b's centre, else to the
//    bottom-most one (largest bottom edge); the first found wins ties and the
//    attachment position is kept;
// 4. b is removed.
// Returns the inserted objects. A template without blocks would leave b's
// links with nowhere to go: then nothing changes and the result is empty.
std::vector<TShemObj*> ReplaceBlockWithTemplate(TShem& doc, TShemObj* b, const TShem& tmpl);
