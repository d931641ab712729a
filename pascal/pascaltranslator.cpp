#include "pascal/pascaltranslator.h"

#include "model/codepage.h"
#include "model/shem.h"
#include "model/stream.h"
#include "pascal/translation.h"

TPascalTranslation Translate(TStream& stream, TUserBlockList* userBlocks) {
  TPascalTranslation result;
  TShem work;
  work.UserBlocks = userBlocks;
  // A stream that is no diagram leaves the working copy empty, and the
  // emitting step then reports that there is no begin block.
  work.LoadFromStream(stream);
  {
    TTranslation t(work, result.Messages);
    t.JoinAdjacentPoints();
    t.DissolveBendPoints();
    t.MakeJunctionPoints();
    t.ForwardJunctionPoints();
    t.MergeSequences();
    t.ReduceDecisions();
  }
  result.Emitted = EmitRoutine(work, result.Lines, result.Messages);
  IndentLines(result.Lines);
  return result;
}

TPascalTranslation Translate(const TShem& diagram) {
  TMemoryStream s;
  diagram.SaveToStream(s);
  return Translate(s, diagram.UserBlocks);
}

bool EmitRoutine(const TShem& d, std::vector<std::string>& lines,
                 std::vector<std::string>& messages) {
  const TShemObj* begin = nullptr;
  for (int i = 0, n = d.Count(); i < n && !begin; ++i) {
    const TShemObj* o = d.GetObj(i);
    if (o->IsBlock() && o->AsBlock()->Data.Kind == bkEllipse &&
        LowerAscii(o->AsBlock()->Data.Text) == "begin")
      begin = o;
  }
  if (!begin) {
    messages.push_back("Can not find \"begin\"");
    return false;
  }
  const std::vector<TShemObj*> links = d.LinksOf(begin);
  if (links.empty()) {
    messages.push_back("\"begin\" have not outgoing links");
    return false;
  }
  if (links.size() > 1) {
    messages.push_back("\"begin\" have more than 1 outgoing link");
    return false;
  }
  if (pascalrules::LeadsIn(links[0], begin)) {
    messages.push_back("\"begin\" have incoming link");
    return false;
  }
  const TShemObj* f = pascalrules::FarEnd(links[0], begin);
  if (!f || !f->IsBlock()) {
    messages.push_back("Link instead of block");
    return false;
  }
  lines = SplitLines("begin\r\n" + f->AsBlock()->Data.Text + "\r\nend;");
  return true;
}

std::vector<std::string> SplitLines(const std::string& text) {
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

void IndentLines(std::vector<std::string>& lines) {
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
