#include "model/userblocklist.h"

#include <stdexcept>
#include <unordered_set>

#include "model/stream.h"

void TUserBlockList::Clear() { Items.clear(); }

TUserBlock* TUserBlockList::GetBlock(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return Items[size_t(index)].get();
}

int TUserBlockList::Add(std::unique_ptr<TUserBlock> block) {
  if (!block || IndexOfIds(block->Id1, block->Id2) >= 0) return -1;
  Items.push_back(std::move(block));
  return Count() - 1;
}

int TUserBlockList::IndexOfIds(uint32_t id1, uint32_t id2) const {
  // The key is made of exactly these two values, so comparing them is
  // comparing keys.
  for (size_t i = 0; i < Items.size(); ++i)
    if (Items[i]->Id1 == id1 && Items[i]->Id2 == id2) return int(i);
  return -1;
}

namespace {

// Id2 and Id1 back from "XXXXXXXX-XXXXXXXX" (upper-case digits, as KeyText
// writes them); false for any other text, which no entry can have as its key.
bool ParseKey(const std::string& key, uint32_t& id1, uint32_t& id2) {
  if (key.size() != 17 || key[8] != '-') return false;
  uint32_t parts[2] = {0, 0};
  for (int k = 0; k < 2; ++k)
    for (int i = 0; i < 8; ++i) {
      const char c = key[size_t(k * 9 + i)];
      int d;
      if (c >= '0' && c <= '9')
        d = c - '0';
      else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
      else
        return false;
      parts[k] = parts[k] << 4 | uint32_t(d);
    }
  id2 = parts[0];
  id1 = parts[1];
  return true;
}

uint64_t PackedKey(const TUserBlock& b) { return uint64_t(b.Id2) << 32 | b.Id1; }

}  // namespace

int TUserBlockList::IndexOfKey(const std::string& key) const {
  uint32_t id1, id2;
  return ParseKey(key, id1, id2) ? IndexOfIds(id1, id2) : -1;
}

void TUserBlockList::Delete(int index) {
  if (index < 0 || index >= Count())
    throw std::out_of_range("User block list index out of bounds (" + std::to_string(index) + ")");
  Items.erase(Items.begin() + index);
}

void TUserBlockList::LoadFromStream(TStream& s) {
  // The keys present, kept in a hash set for the length of the load, so that a
  // file of many records costs linear time rather than one list scan per record.
  std::unordered_set<uint64_t> keys;
  keys.reserve(Items.size());
  for (const auto& b : Items) keys.insert(PackedKey(*b));
  // Every read consumes at least one byte while the stream is not at its end,
  // so this ends. A bad header drops the record and goes on right after the
  // bytes read for it; a record cut short leaves the stream at its end.
  while (!s.AtEnd()) {
    auto block = std::make_unique<TUserBlock>();
    if (block->ReadFromStream(s) != 0) continue;
    // A key already present: the list keeps its entry and the record is dropped.
    if (keys.insert(PackedKey(*block)).second) Items.push_back(std::move(block));
  }
}

bool TUserBlockList::LoadFromFile(const std::string& fileName) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(fileName, bytes)) return false;
  TByteViewStream s(bytes.data(), bytes.size());
  LoadFromStream(s);
  return true;
}

bool TUserBlockList::SaveToStream(TStream& s) const {
  for (const auto& b : Items)
    if (!b->WriteToStream(s)) return false;
  return true;
}

bool TUserBlockList::SaveToFile(const std::string& fileName, std::string* error) const {
  TMemoryStream s;
  SaveToStream(s);  // a memory stream takes every write
  return WriteFileAtomically(fileName, s.Bytes(), error);
}
