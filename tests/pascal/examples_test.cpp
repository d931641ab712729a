// The example diagrams in examples/ collapse completely into one routine:
// every statement and condition drawn in them reaches the Pascal text.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "model/shem.h"
#include "model/userblocklist.h"
#include "pascal/pascaltranslator.h"

namespace {
namespace fs = std::filesystem;

struct Example {
  std::string name;
  TUserBlockList userBlocks;
  TShem diagram;
  TPascalTranslation pascal;
};

std::vector<std::unique_ptr<Example>> LoadExamples() {
  std::vector<std::unique_ptr<Example>> out;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(QV_EXAMPLES))
    if (entry.path().extension() == ".fgd") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    auto e = std::make_unique<Example>();
    e->name = file.filename().string();
    e->diagram.UserBlocks = &e->userBlocks;
    std::string error;
    EXPECT_TRUE(e->diagram.LoadFromFile(file.string(), &error)) << e->name << ": " << error;
    e->pascal = Translate(e->diagram);
    out.push_back(std::move(e));
  }
  return out;
}

std::string Trim(std::string s) {
  const auto first = s.find_first_not_of(' ');
  s.erase(0, first == std::string::npos ? s.size() : first);
  while (!s.empty() && (s.back() == ' ' || s.back() == ';')) s.pop_back();
  return s;
}

// The lines that a block's text contributes, without indentation or ";".
std::vector<std::string> TextLines(const std::string& text) {
  std::vector<std::string> lines;
  for (const std::string& l : SplitLines(text))
    if (!Trim(l).empty()) lines.push_back(Trim(l));
  return lines;
}

bool IsTerminator(const Block& b) {
  return b.Kind == bkEllipse && (b.Text == "begin" || b.Text == "end");
}
}  // namespace

TEST(Examples, EveryDiagramTranslatesIntoOneBalancedRoutine) {
  const auto examples = LoadExamples();
  ASSERT_GE(examples.size(), 8u) << "the gallery in " << QV_EXAMPLES << " is incomplete";
  for (const auto& e : examples) {
    SCOPED_TRACE(e->name);
    const auto& lines = e->pascal.Lines;
    EXPECT_TRUE(e->pascal.Emitted);
    EXPECT_TRUE(e->pascal.Messages.empty()) << e->pascal.Messages.front();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.front(), "begin");
    EXPECT_EQ(lines.back(), "end;");
    // Openers and closers pair up: only the first and last line are flush left.
    for (size_t i = 1; i + 1 < lines.size(); ++i)
      EXPECT_EQ(lines[i].rfind("  ", 0), 0u) << "line " << i << ": " << lines[i];

    // Every statement and condition of the drawing is somewhere in the text.
    std::vector<std::string> emitted;
    for (const std::string& l : lines) emitted.push_back(Trim(l));
    for (int i = 0; i < e->diagram.Count(); ++i) {
      const TBlock* b = e->diagram.GetObj(i)->AsBlock();
      if (!b || b->Data.Kind == bkText || b->Data.Kind == bkComment || b->Data.Kind == bkPoint ||
          IsTerminator(b->Data))
        continue;
      for (const std::string& want : TextLines(b->Data.Text)) {
        const bool found = std::any_of(emitted.begin(), emitted.end(), [&](const std::string& l) {
          return l.find(want) != std::string::npos;
        });
        EXPECT_TRUE(found) << "\"" << want << "\" of object " << i << " is not in the Pascal";
      }
    }
  }
}

TEST(Examples, GalleryShowsEveryStructureTheTranslatorKnows) {
  std::set<std::string> seen;
  bool userBlockBranch = false;
  for (const auto& e : LoadExamples()) {
    for (const std::string& l : e->pascal.Lines) {
      const std::string t = Trim(l);
      for (const char* word : {"while", "repeat", "if", "else"})
        if (t.rfind(word, 0) == 0) seen.insert(word);
    }
    for (int i = 0; i < e->diagram.Count(); ++i) {
      const TBlock* b = e->diagram.GetObj(i)->AsBlock();
      if (b && IsUserKind(b->Data.Kind) && e->pascal.Emitted) userBlockBranch = true;
    }
  }
  EXPECT_EQ(seen, (std::set<std::string>{"else", "if", "repeat", "while"}));
  EXPECT_TRUE(userBlockBranch) << "no example translates a diagram drawn with user blocks";
}
