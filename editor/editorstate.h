#pragma once
// The state that the editing tools and the main window's commands share: the
// chosen tool and block kind, the look of new documents, the file history,
// the clipboard diagram and the user block list. The main window owns the one
// instance; every document window reads it through its host.

#include <QColor>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <utility>

#include "model/shem.h"
#include "userblocks/userblocklist.h"

// The editing tools, numbered as their buttons' tags 0 to 5.
enum class TTool : uint8_t {
  Select = 0,
  EditText = 1,
  LinkPoints = 2,
  CreateLink = 3,
  MoveDocument = 4,
  CreateBlock = 5,
};
constexpr int ToolCount = 6;

constexpr int DefaultBlockWidth = 80;
constexpr int DefaultBlockHeight = 20;
constexpr int MaxRecentFiles = 5;

// Width and height of a new block of each standard kind 0..9.
using TBlockSizes = std::array<std::pair<int, int>, 10>;

struct TEditorState {
  TEditorState();
  TEditorState(const TEditorState&) = delete;
  TEditorState& operator=(const TEditorState&) = delete;

  TTool CurrentTool = TTool::Select;
  // The kind that the create-block tool creates: 0..3, 5..9, or 15 + n for
  // user block n.
  uint8_t NewBlockKind = 0;
  // The pictures that the create-link and link-points buttons show carry
  // their sub-choice: 7 + the LinkType of new links (7..10); 11 adds link
  // points, 12 deletes them.
  int LinkToolPicture = 7;
  int LinkPointsPicture = 11;
  QColor BackgroundColor{192, 192, 192};
  TBlockSizes StandardBlockSizes;
  QString LastDirectory;  // with a trailing separator
  QStringList RecentFiles;
  QString NewDocumentTitle;
  // What Copy and Cut put aside and Paste inserts; shared by all documents.
  std::unique_ptr<TShem> ClipboardDiagram;
  TUserBlockList UserBlocks;

  // The tool of a tool button with tag t: 0..4 are the tools themselves, 5
  // and above create blocks of kind t - 5 (user block n has tag 20 + n).
  void ChooseToolByTag(int tag);
};
