#include "userblocks/userblocklist.h"

#include <stdexcept>

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

int TUserBlockList::IndexOfKey(const std::string& key) const {
  for (size_t i = 0; i < Items.size(); ++i)
    if (Items[i]->KeyText() == key) return int(i);
  return -1;
}

void TUserBlockList::Delete(int index) {
  if (index < 0 || index >= Count())
    throw std::out_of_range("User block list index out of bounds (" + std::to_string(index) + ")");
  Items.erase(Items.begin() + index);
}

void TUserBlockList::LoadFromStream(TStream& s) {
  // Every read consumes at least one byte while the stream is not at its end,
  // so this ends. A bad header drops the record and goes on right after the
  // bytes read for it; a record cut short leaves the stream at its end.
  while (!s.AtEnd()) {
    auto block = std::make_unique<TUserBlock>();
    if (block->ReadFromStream(s) != 0) continue;
    Add(std::move(block));  // a key already present: the list keeps its entry
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
