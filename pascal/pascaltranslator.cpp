#include "pascal/pascaltranslator.h"

#include "model/shem.h"
#include "model/stream.h"
#include "pascal/translation.h"

namespace {
std::string LowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}
}  // namespace

bool TPascalTranslator::FormShow(TStream& stream, TPascalReporter& reporter,
                                 TUserBlockList* userBlocks) {
  TShem work;
  work.UserBlocks = userBlocks;
  // A stream that is no diagram leaves the working copy empty, and the
  // emitting step then reports that there is no begin block.
  work.LoadFromStream(stream);
  {
    TTranslation t(work, reporter);
    t.JoinAdjacentPoints();
    t.DissolveBendPoints();
    t.MakeJunctionPoints();
    t.ForwardJunctionPoints();
    t.MergeSequences();
    t.ReduceDecisions();
  }
  const bool emitted = EmitRoutine(work, reporter);
  IndentLines(Lines);
  return emitted;
}

bool TPascalTranslator::EmitRoutine(const TShem& d, TPascalReporter& reporter) {
  const TShemObj* begin = nullptr;
  for (int i = 0, n = d.Count(); i < n && !begin; ++i) {
    const TShemObj* o = d.GetObj(i);
    if (o->IsBlock() && o->AsBlock()->Data.Kind == bkEllipse &&
        LowerAscii(o->AsBlock()->Data.Text) == "begin")
      begin = o;
  }
  if (!begin) {
    reporter.Error("Can not find \"begin\"");
    return false;
  }
  const std::vector<TShemObj*> links = d.LinksOf(begin);
  if (links.empty()) {
    reporter.Error("\"begin\" have not outgoing links");
    return false;
  }
  if (links.size() > 1) {
    reporter.Error("\"begin\" have more than 1 outgoing link");
    return false;
  }
  if (pascalrules::LeadsIn(links[0], begin)) {
    reporter.Error("\"begin\" have incoming link");
    return false;
  }
  const TShemObj* f = pascalrules::FarEnd(links[0], begin);
  if (!f || !f->IsBlock()) {
    reporter.Error("Link instead of block");
    return false;
  }
  Lines = SplitLines("begin\r\n" + f->AsBlock()->Data.Text + "\r\nend;");
  return true;
}

std::vector<std::string> TPascalTranslator::SplitLines(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    out.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) out.push_back(text.substr(start));
  return out;
}

void TPascalTranslator::IndentLines(std::vector<std::string>& lines) {
  std::vector<std::string> out;
  out.reserve(lines.size());
  int level = 0;
  for (std::string& line : lines) {
    bool blank = true;
    for (char c : line)
      if (static_cast<unsigned char>(c) > ' ') {
        blank = false;
        break;
      }
    if (blank) continue;
    std::string word = line.substr(0, line.find(' '));
    word = LowerAscii(word.substr(0, word.find(';')));
    if (word == "end" || word == "until") level -= 2;
    out.push_back(std::string(size_t(level > 0 ? level : 0), ' ') + line);
    if (word == "begin" || word == "repeat") level += 2;
  }
  lines = std::move(out);
}
