// The bundled example diagrams load and contain what they are there to show.
#include <gtest/gtest.h>

#include <string>

#include "model/shem.h"
#include "model/userblocklist.h"

namespace {
struct Loaded {
  TUserBlockList blocks;
  TShem d;
  bool ok = false;
  explicit Loaded(const std::string& name) {
    d.UserBlocks = &blocks;
    std::string error;
    ok = d.LoadFromFile(std::string(QV_EXAMPLES) + "/" + name, &error);
    EXPECT_TRUE(ok) << name << ": " << error;
  }
  int CountKind(int kind) const {
    int n = 0;
    for (int i = 0; i < d.Count(); ++i)
      if (const TBlock* b = d.GetObj(i)->AsBlock()) n += b->Data.Kind == kind;
    return n;
  }
  int Links() const {
    int n = 0;
    for (int i = 0; i < d.Count(); ++i) n += d.GetObj(i)->IsLink();
    return n;
  }
};
}  // namespace

TEST(Examples, LoopDecisionAndUserBlockDiagramsLoad) {
  Loaded loop("loop.fgd");
  EXPECT_GE(loop.CountKind(bkRhomb), 1);
  EXPECT_GE(loop.CountKind(bkPoint), 2);  // the way back is a bent link
  EXPECT_GE(loop.Links(), 5);

  Loaded decision("decision.fgd");
  EXPECT_GE(decision.CountKind(bkRhomb), 1);
  EXPECT_GE(decision.CountKind(bkParallelogram), 1);
  EXPECT_GE(decision.Links(), 4);

  Loaded user("userblock.fgd");
  EXPECT_GE(user.blocks.Count(), 1);
  EXPECT_GE(user.CountKind(bkUserFirst), 1);
}
