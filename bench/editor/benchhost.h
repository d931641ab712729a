#pragma once
// A document host for benchmarks of one document window: its own editor
// state, no listing, no status bar and no saving.

#include <QString>

#include "editor/documenthost.h"
#include "editor/editorstate.h"

class TBenchHost : public TDocumentHost {
 public:
  TEditorState state;
  TEditorState& State() override { return state; }
  ListView* ListingView() override { return nullptr; }
  bool ListingShows(const TShem*) const override { return false; }
  QString FontFace() const override { return QString(); }
  bool SaveDocument(TChildD*) override { return false; }
  void SetStatusPanel(int, const QString&) override {}
};
