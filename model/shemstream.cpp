// The diagram stream: "FileQuorvalinEditorV", a version byte ("2", or "3"
// followed by a section of user block records), then the objects in list order.
//
// Loading reads into a fresh diagram and replaces this one only when the whole
// stream made sense, so a refused stream leaves the diagram and the user block
// list exactly as they were.
#include <cstring>
#include <unordered_map>

#include "model/listview.h"
#include "model/shem.h"
#include "model/stream.h"
#include "model/userblocklist.h"

namespace {
constexpr char kMagic[] = "FileQuorvalinEditorV";
constexpr size_t kMagicLen = 20;

void PutU16(std::vector<uint8_t>& b, uint32_t v) {
  b.resize(b.size() + 2);
  StoreU16(&b[b.size() - 2], uint16_t(v));
}
void PutU32(std::vector<uint8_t>& b, uint32_t v) {
  b.resize(b.size() + 4);
  StoreU32(&b[b.size() - 4], v);
}
// Coordinates and positions are kept in 0..65535; anything outside is clamped
// rather than wrapped to the far side.
uint16_t Clamp16(int32_t v) { return uint16_t(v < 0 ? 0 : (v > 65535 ? 65535 : v)); }

// A cursor over the bytes of a section that never reads past its end.
struct Reader {
  const uint8_t* p;
  const uint8_t* end;
  bool Has(size_t n) const { return size_t(end - p) >= n; }
  uint8_t U8() { return *p++; }
  uint16_t U16() {
    const uint16_t v = LoadU16(p);
    p += 2;
    return v;
  }
  uint32_t U32() {
    const uint32_t v = LoadU32(p);
    p += 4;
    return v;
  }
};

// True when some link hangs on itself or links hang on each other in a cycle.
bool HasLinkCycle(const TShem& d) {
  // Iterative three-colour depth-first walk over "link hangs on link" edges.
  std::unordered_map<const TShemObj*, uint8_t> colour;  // 1 on the path, 2 done
  for (int i = 0; i < d.Count(); ++i) {
    const TShemObj* start = d.GetObj(i);
    if (!start->IsLink() || colour[start] == 2) continue;
    std::vector<std::pair<const TShemObj*, int>> stack{{start, 0}};
    colour[start] = 1;
    while (!stack.empty()) {
      auto& [o, next] = stack.back();
      const Link& l = o->AsLink()->Data;
      if (next < 2) {
        const TShemObj* end = next == 0 ? l.Source.Get() : l.Target.Get();
        ++next;
        if (!end || !end->IsLink()) continue;
        uint8_t& c = colour[end];
        if (c == 1) return true;
        if (c == 0) {
          c = 1;
          stack.push_back({end, 0});
        }
        continue;
      }
      colour[o] = 2;
      stack.pop_back();
    }
  }
  return false;
}
}  // namespace

bool TShem::SaveToStream(TStream& s) const {
  std::vector<uint8_t> objects, userSection;
  objects.reserve(size_t(Count()) * 16);
  Compact();
  for (TShemObj* e : slots_) {
    if (const TBlock* b = e->AsBlock()) {
      const Block& d = b->Data;
      const TUserBlock* ub = nullptr;
      if (IsUserKind(d.Kind) && UserBlocks) ub = UserBlocks->GetBlock(d.Kind - bkUserFirst);
      // A user kind whose definition is missing is written as the "unknown
      // user block" kind 14, which is what reading it back would give anyway.
      const int kindField = IsUserKind(d.Kind) ? (ub ? 15 : 14) : d.Kind;
      objects.push_back(otBlock);
      objects.push_back(uint8_t((kindField & 0x0F) | (d.Dotted ? 0x10 : 0) | (d.Filled ? 0x20 : 0) |
                                ((d.TextAlign & 3) << 6)));
      if (ub) {
        PutU32(objects, ub->Id1);
        PutU32(objects, ub->Id2);
        TMemoryStream rec;
        ub->WriteToStream(rec);
        userSection.insert(userSection.end(), rec.Bytes().begin(), rec.Bytes().end());
      }
      const size_t zero = d.Text.find('\0');
      objects.insert(objects.end(), d.Text.begin(),
                     zero == std::string::npos ? d.Text.end() : d.Text.begin() + long(zero));
      objects.push_back(0);
      PutU16(objects, Clamp16(d.TopLeft.X));
      PutU16(objects, Clamp16(d.TopLeft.Y));
      PutU16(objects, Clamp16(d.BottomRight.X));
      PutU16(objects, Clamp16(d.BottomRight.Y));
    } else {
      const Link& d = e->AsLink()->Data;
      const int si = d.Source ? IndexOfLive(d.Source) : -1,
                ti = d.Target ? IndexOfLive(d.Target) : -1;
      // The file holds object indices in 16 bits; a link whose ends lie beyond
      // that cannot be stored, and writing it truncated would corrupt the file.
      if (si < 0 || ti < 0 || si > 65535 || ti > 65535) return false;
      objects.push_back(otLink);
      objects.push_back(d.LinkType);
      PutU16(objects, uint32_t(si));
      PutU16(objects, uint32_t(ti));
      PutU16(objects, Clamp16(d.SourcePos.X));
      PutU16(objects, Clamp16(d.SourcePos.Y));
      PutU16(objects, Clamp16(d.TargetPos.X));
      PutU16(objects, Clamp16(d.TargetPos.Y));
    }
  }
  std::vector<uint8_t> head(kMagic, kMagic + kMagicLen);
  if (userSection.empty()) {
    head.push_back('2');
  } else {
    head.push_back('3');
    PutU32(head, uint32_t(userSection.size()));
  }
  return s.Write(head.data(), head.size()) && s.Write(userSection.data(), userSection.size()) &&
         s.Write(objects.data(), objects.size());
}

bool TShem::LoadFromStream(TStream& s) {
  if (!s.Seek(0)) return false;
  std::vector<uint8_t> bytes(size_t(s.Size()));
  bytes.resize(s.Read(bytes.data(), bytes.size()));
  if (bytes.size() < kMagicLen || std::memcmp(bytes.data(), kMagic, kMagicLen) != 0) return false;

  Reader r{bytes.data() + kMagicLen, bytes.data() + bytes.size()};
  const uint8_t version = r.Has(1) ? r.U8() : 0;

  // User block section: every record must parse. Keys map to their list
  // position as they will be after the new definitions are added (a key
  // already in the list keeps its entry; the first of repeated keys wins).
  std::vector<std::unique_ptr<TUserBlock>> incoming;
  std::unordered_map<std::string, int> newIndex;
  if (version == '3') {
    if (!r.Has(4)) return false;
    const uint32_t len = r.U32();
    if (!r.Has(len)) return false;
    TByteViewStream sec(r.p, len);
    while (!sec.AtEnd()) {
      auto ub = std::make_unique<TUserBlock>();
      if (ub->ReadFromStream(sec) != 0) return false;
      incoming.push_back(std::move(ub));
    }
    r.p += len;
    int next = UserBlocks ? UserBlocks->Count() : 0;
    for (const auto& ub : incoming) {
      const std::string key = ub->KeyText();
      if (newIndex.count(key)) continue;
      const int existing = UserBlocks ? UserBlocks->IndexOfKey(key) : -1;
      newIndex[key] = existing >= 0 ? existing : (UserBlocks ? next++ : -1);
    }
  } else if (version != '2') {
    r.p = r.end;  // unknown version: an empty diagram
  }

  TShem fresh;
  fresh.UserBlocks = UserBlocks;
  std::vector<uint32_t> pending;  // forward references, in reading order
  std::vector<std::pair<TShemObj*, std::pair<int64_t, int64_t>>> links;
  while (r.p < r.end) {
    const uint8_t type = r.U8();
    if (type == otBlock) {
      if (!r.Has(1)) return false;
      const uint8_t flags = r.U8();
      auto b = std::make_unique<TBlock>();
      Block& d = b->Data;
      int kind = flags & 0x0F;
      d.TextAlign = uint8_t(flags >> 6);
      d.Dotted = (flags & 0x10) != 0;
      d.Filled = (flags & 0x20) != 0;
      if (kind == 15) {
        if (!r.Has(8)) return false;
        const uint32_t id1 = r.U32(), id2 = r.U32();
        const std::string key = TUserBlock::KeyOf(id1, id2);
        int idx = -1;
        if (auto it = newIndex.find(key); it != newIndex.end())
          idx = it->second;
        else if (UserBlocks)
          idx = UserBlocks->IndexOfKey(key);
        kind = idx >= 0 && idx <= 255 - bkUserFirst ? bkUserFirst + idx : 14;
      }
      d.Kind = uint8_t(kind);
      const uint8_t* z = static_cast<const uint8_t*>(std::memchr(r.p, 0, size_t(r.end - r.p)));
      if (!z) return false;  // text runs to the end: the record is cut short
      d.Text.assign(reinterpret_cast<const char*>(r.p), size_t(z - r.p));
      r.p = z + 1;
      if (!r.Has(8)) return false;
      d.TopLeft.X = r.U16();
      d.TopLeft.Y = r.U16();
      d.BottomRight.X = r.U16();
      d.BottomRight.Y = r.U16();
      fresh.AddEntry(new TShemObj(std::move(b)));
    } else if (type == otLink) {
      if (!r.Has(13)) return false;
      auto l = std::make_unique<TLink>();
      Link& d = l->Data;
      d.LinkType = r.U8();
      const uint16_t si = r.U16(), ti = r.U16();
      d.SourcePos.X = r.U16();
      d.SourcePos.Y = r.U16();
      d.TargetPos.X = r.U16();
      d.TargetPos.Y = r.U16();
      const int readSoFar = fresh.Count();
      TShemObj* source = nullptr;
      TShemObj* target = nullptr;
      if (si < readSoFar)
        source = fresh.slots_[si];
      else
        pending.push_back(si);
      if (ti < readSoFar)
        target = fresh.slots_[ti];
      else
        pending.push_back(ti);
      fresh.AddLink(std::move(l), source, target);
    } else {
      return false;  // neither a block nor a link
    }
  }

  // Forward references, in list order, source before target.
  size_t q = 0;
  for (TShemObj* e : fresh.slots_) {
    if (!e->IsLink()) continue;
    for (LinkEnd end : {LinkEnd::Source, LinkEnd::Target}) {
      if (e->AsLink()->Data.End(end)) continue;
      if (q >= pending.size() || pending[q] >= fresh.slots_.size()) return false;
      // Cycles are looked for once all ends are known.
      fresh.Attach(e, end, fresh.slots_[pending[q++]]);
    }
  }
  if (HasLinkCycle(fresh)) return false;
  fresh.SortObjects();

  // Accepted: take the new user block definitions, then the objects.
  if (UserBlocks)
    for (auto& ub : incoming) UserBlocks->Add(std::move(ub));
  ReplaceContents(fresh);
  if (listView_) {
    listView_->BeginUpdate();
    for (TShemObj* e : slots_) AddListItem(e);
    listView_->EndUpdate();
  }
  return true;
}

bool TShem::LoadFromFile(const std::string& fileName, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(fileName, bytes, error)) return false;
  TByteViewStream s(bytes.data(), bytes.size());
  if (LoadFromStream(s)) return true;
  if (error) *error = "\"" + fileName + "\" is not a diagram file";
  return false;
}

bool TShem::SaveToFile(const std::string& fileName, std::string* error) const {
  TMemoryStream s;
  if (!SaveToStream(s)) {
    if (error)
      *error = "The diagram has links whose ends lie beyond the 65536 objects a file can index";
    return false;
  }
  return WriteFileAtomically(fileName, s.Bytes(), error);
}
