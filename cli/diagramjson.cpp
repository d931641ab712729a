#include "diagramjson.h"

#include <unordered_set>

#include "model/codepage.h"
#include "model/shem.h"
#include "model/stream.h"
#include "userblocks/userblocklist.h"

namespace {
Json Pair(int64_t a, int64_t b) {
  Json j = Json::Arr();
  j.Push(Json::Int(a));
  j.Push(Json::Int(b));
  return j;
}

Json UserBlockToJson(const TUserBlock& ub, int cp) {
  Json j = Json::Obj();
  j.Set("key", Json::Str(ub.KeyText()));
  j.Set("name", Json::Str(CodepageToUtf8(ub.Name, cp)));
  j.Set("id1", Json::Int(ub.Id1));
  j.Set("id2", Json::Int(ub.Id2));
  Json pts = Json::Arr();
  for (int i = 0; i < ub.PointCount; ++i)
    pts.Push(Pair(ub.Points[size_t(i)].X, ub.Points[size_t(i)].Y));
  j.Set("points", std::move(pts));
  Json edit = Json::Arr();
  for (int v : {ub.EditLeft, ub.EditTop, ub.EditRight, ub.EditBottom}) edit.Push(Json::Int(v));
  j.Set("edit", std::move(edit));
  Json img = Json::Arr();
  for (uint16_t w : ub.ToolImage) img.Push(Json::Int(w));
  j.Set("toolimage", std::move(img));
  return j;
}

// Reads an integer member within [lo, hi]; throws a readable reason otherwise.
struct Fields {
  const Json& obj;
  std::string where;
  const Json& Need(const std::string& key) const {
    const Json* v = obj.Find(key);
    if (!v) throw std::runtime_error(where + ": missing \"" + key + "\"");
    return *v;
  }
  int64_t Int(const std::string& key, int64_t lo, int64_t hi) const {
    return CheckInt(Need(key), key, lo, hi);
  }
  int64_t IntOr(const std::string& key, int64_t lo, int64_t hi, int64_t dflt) const {
    const Json* v = obj.Find(key);
    return v ? CheckInt(*v, key, lo, hi) : dflt;
  }
  int64_t CheckInt(const Json& v, const std::string& key, int64_t lo, int64_t hi) const {
    if (!v.IsInt() || v.AsInt() < lo || v.AsInt() > hi)
      throw std::runtime_error(where + ": \"" + key + "\" must be an integer from " +
                               std::to_string(lo) + " to " + std::to_string(hi));
    return v.AsInt();
  }
  bool Bool(const std::string& key, bool dflt) const {
    const Json* v = obj.Find(key);
    if (!v) return dflt;
    if (!v->IsBool()) throw std::runtime_error(where + ": \"" + key + "\" must be true or false");
    return v->AsBool();
  }
  std::string Str(const std::string& key, bool required) const {
    const Json* v = obj.Find(key);
    if (!v) {
      if (required) throw std::runtime_error(where + ": missing \"" + key + "\"");
      return {};
    }
    if (!v->IsString()) throw std::runtime_error(where + ": \"" + key + "\" must be a string");
    return v->AsString();
  }
  std::vector<int64_t> Ints(const Json& arr, const std::string& key, size_t n, int64_t lo,
                            int64_t hi) const {
    if (!arr.IsArray() || arr.Items().size() != n)
      throw std::runtime_error(where + ": \"" + key + "\" must be an array of " +
                               std::to_string(n) + " integers");
    std::vector<int64_t> out;
    for (const Json& v : arr.Items()) out.push_back(CheckInt(v, key, lo, hi));
    return out;
  }
};

// Converts a text of the document; a text that loses characters to the code
// page is recorded under `where` + " " + `field`.
std::string ToCodepage(const std::string& utf8, int cp, const std::string& where, const char* field,
                       std::vector<TTextLoss>* losses) {
  if (utf8.find('\0') != std::string::npos)
    throw std::runtime_error(where + ": texts cannot hold a zero character");
  std::u32string lost;
  std::string bytes = Utf8ToCodepage(utf8, cp, &lost);
  if (losses && !lost.empty()) losses->push_back({where + " " + field, std::move(lost)});
  return bytes;
}
}  // namespace

Json DiagramToJson(const TShem& d, const TUserBlockList& list, int cp) {
  Json doc = Json::Obj();
  doc.Set("format", Json::Str("quorvalin-diagram"));
  bool usesUserBlocks = false;
  for (int i = 0; i < d.Count(); ++i) {
    const TShemObj* o = d.GetObj(i);
    if (o->IsBlock() && IsUserKind(o->AsBlock()->Data.Kind) &&
        list.GetBlock(o->AsBlock()->Data.Kind - bkUserFirst))
      usesUserBlocks = true;
  }
  doc.Set("version", Json::Int(usesUserBlocks ? 3 : 2));
  Json ubs = Json::Arr();
  for (int i = 0; i < list.Count(); ++i) ubs.Push(UserBlockToJson(*list.GetBlock(i), cp));
  doc.Set("userblocks", std::move(ubs));
  Json objs = Json::Arr();
  for (int i = 0; i < d.Count(); ++i) {
    const TShemObj* o = d.GetObj(i);
    Json j = Json::Obj();
    j.Set("index", Json::Int(i));
    if (const TBlock* b = o->AsBlock()) {
      const Block& bd = b->Data;
      j.Set("type", Json::Str("block"));
      const TUserBlock* ub = IsUserKind(bd.Kind) ? list.GetBlock(bd.Kind - bkUserFirst) : nullptr;
      j.Set("kind", Json::Int(IsUserKind(bd.Kind) ? (ub ? 15 : 14) : bd.Kind));
      if (ub) j.Set("userblock", Json::Str(ub->KeyText()));
      j.Set("text", Json::Str(CodepageToUtf8(bd.Text, cp)));
      j.Set("textalign", Json::Int(bd.TextAlign));
      j.Set("filled", Json::Bool(bd.Filled));
      j.Set("dotted", Json::Bool(bd.Dotted));
      Json r = Json::Arr();
      for (int v : {bd.TopLeft.X, bd.TopLeft.Y, bd.BottomRight.X, bd.BottomRight.Y})
        r.Push(Json::Int(v));
      j.Set("rect", std::move(r));
    } else {
      const Link& l = o->AsLink()->Data;
      j.Set("type", Json::Str("link"));
      j.Set("linktype", Json::Int(l.LinkType));
      j.Set("source", Json::Int(d.IndexOf(l.Source)));
      j.Set("target", Json::Int(d.IndexOf(l.Target)));
      j.Set("sourcepos", Pair(l.SourcePos.X, l.SourcePos.Y));
      j.Set("targetpos", Pair(l.TargetPos.X, l.TargetPos.Y));
    }
    objs.Push(std::move(j));
  }
  doc.Set("objects", std::move(objs));
  return doc;
}

std::string FormatDiagramJson(const Json& doc) {
  std::string out = "{";
  bool first = true;
  for (const auto& [k, v] : doc.Members()) {
    if (!first) out += ",";
    first = false;
    out += Json::Str(k).Dump() + ":";
    if (v.IsArray() && (k == "objects" || k == "userblocks")) {
      out += "[";
      for (size_t i = 0; i < v.Items().size(); ++i)
        out += (i ? ",\n  " : "\n  ") + v.Items()[i].Dump();
      out += v.Items().empty() ? "]" : "\n ]";
    } else {
      out += v.Dump();
    }
  }
  return out + "}\n";
}

bool JsonToDiagram(const Json& doc, TShem& d, TUserBlockList& list, int cp, std::string& error,
                   std::vector<TTextLoss>* losses) {
  try {
    if (!doc.IsObject()) throw std::runtime_error("the document is not a JSON object");
    Fields top{doc, "document"};
    if (top.Str("format", true) != "quorvalin-diagram")
      throw std::runtime_error("document: \"format\" must be \"quorvalin-diagram\"");
    top.IntOr("version", 2, 3, 2);
    if (const Json* ubs = doc.Find("userblocks")) {
      if (!ubs->IsArray()) throw std::runtime_error("document: \"userblocks\" must be an array");
      for (size_t i = 0; i < ubs->Items().size(); ++i) {
        const Json& u = ubs->Items()[i];
        Fields f{u, "userblocks[" + std::to_string(i) + "]"};
        if (!u.IsObject()) throw std::runtime_error(f.where + " must be an object");
        auto ub = std::make_unique<TUserBlock>();
        ub->Name = ToCodepage(f.Str("name", false), cp, f.where, "name", losses);
        ub->Id1 = uint32_t(f.Int("id1", 0, 0xFFFFFFFFLL));
        ub->Id2 = uint32_t(f.Int("id2", 0, 0xFFFFFFFFLL));
        const std::string key = f.Str("key", false);
        if (!key.empty() && key != ub->KeyText())
          throw std::runtime_error(f.where + ": \"key\" " + key + " does not match id1 and id2 (" +
                                   ub->KeyText() + ")");
        const Json& pts = f.Need("points");
        if (!pts.IsArray() || pts.Items().size() > TUserBlock::MaxPoints)
          throw std::runtime_error(f.where + ": \"points\" must be an array of at most 255 pairs");
        for (const Json& p : pts.Items()) {
          const auto xy = f.Ints(p, "points", 2, 0, 255);
          ub->AddPoint({uint8_t(xy[0]), uint8_t(xy[1])});
        }
        const auto e = f.Ints(f.Need("edit"), "edit", 4, 0, 255);
        ub->SetEditRect(uint8_t(e[0]), uint8_t(e[1]), uint8_t(e[2]), uint8_t(e[3]));
        if (const Json* img = u.Find("toolimage")) {
          const auto words = f.Ints(*img, "toolimage", 16, 0, 65535);
          for (size_t w = 0; w < 16; ++w) ub->ToolImage[w] = uint16_t(words[w]);
        }
        const std::string k = ub->KeyText();
        if (list.Add(std::move(ub)) < 0)
          throw std::runtime_error(f.where + ": user block " + k + " appears twice");
      }
    }
    const Json* objs = doc.Find("objects");
    if (!objs || !objs->IsArray())
      throw std::runtime_error("document: \"objects\" must be an array");
    const auto& items = objs->Items();
    if (items.size() > 65536)
      throw std::runtime_error("a diagram file holds at most 65536 objects");
    std::vector<TShemObj*> made(items.size(), nullptr);
    struct Ends {
      size_t link;
      int64_t source, target;
    };
    std::vector<Ends> ends;
    for (size_t i = 0; i < items.size(); ++i) {
      const Json& o = items[i];
      Fields f{o, "objects[" + std::to_string(i) + "]"};
      if (!o.IsObject()) throw std::runtime_error(f.where + " must be an object");
      f.IntOr("index", int64_t(i), int64_t(i), int64_t(i));
      const std::string type = f.Str("type", true);
      if (type == "block") {
        auto b = std::make_unique<TBlock>();
        Block& bd = b->Data;
        int64_t kind = f.Int("kind", 0, 15);
        if (kind == 15) {
          const std::string key = f.Str("userblock", true);
          const int idx = list.IndexOfKey(key);
          if (idx < 0)
            throw std::runtime_error(f.where + ": user block " + key + " is not in \"userblocks\"");
          kind = bkUserFirst + idx;
        }
        if (kind > 255) throw std::runtime_error(f.where + ": too many user blocks");
        bd.Kind = uint8_t(kind);
        bd.Text = ToCodepage(f.Str("text", false), cp, f.where, "text", losses);
        bd.TextAlign = uint8_t(f.IntOr("textalign", 0, 3, 0));
        bd.Filled = f.Bool("filled", false);
        bd.Dotted = f.Bool("dotted", false);
        const auto r = f.Ints(f.Need("rect"), "rect", 4, 0, 65535);
        bd.SetRect({int32_t(r[0]), int32_t(r[1]), int32_t(r[2]), int32_t(r[3])});
        made[i] = d.GetObj(d.Add(std::move(b)));
      } else if (type == "link") {
        auto l = std::make_unique<TLink>();
        l->Data.LinkType = uint8_t(f.IntOr("linktype", 0, 255, 0));
        const auto sp = f.Ints(f.Need("sourcepos"), "sourcepos", 2, 0, 65535);
        const auto tp = f.Ints(f.Need("targetpos"), "targetpos", 2, 0, 65535);
        l->Data.SourcePos = {int32_t(sp[0]), int32_t(sp[1])};
        l->Data.TargetPos = {int32_t(tp[0]), int32_t(tp[1])};
        const int64_t hi = int64_t(items.size()) - 1;
        const int64_t s = f.Int("source", 0, hi), t = f.Int("target", 0, hi);
        if (s == int64_t(i) || t == int64_t(i))
          throw std::runtime_error(f.where + ": a link cannot hang on itself");
        ends.push_back({i, s, t});
        made[i] = d.GetObj(d.Add(std::move(l)));
      } else {
        throw std::runtime_error(f.where + ": \"type\" must be \"block\" or \"link\"");
      }
    }
    for (const Ends& e : ends) {
      TShemObj* l = made[e.link];
      TShemObj* s = made[size_t(e.source)];
      TShemObj* t = made[size_t(e.target)];
      if (d.WouldCycle(l, s) || d.WouldCycle(l, t))
        throw std::runtime_error("objects[" + std::to_string(e.link) +
                                 "]: links hang on each other in a cycle");
      l->AsLink()->Data.Source = s;
      l->AsLink()->Data.Target = t;
    }
    return true;
  } catch (const std::exception& ex) {
    error = ex.what();
    return false;
  }
}
