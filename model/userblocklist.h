#pragma once
// The application's list of user blocks, in the order they were added; the
// position n of an entry is the block kind 15 + n. Keys are unique.

#include <memory>
#include <string>
#include <vector>

#include "model/userblock.h"

class TStream;

class TUserBlockList {
 public:
  TUserBlockList() = default;
  TUserBlockList(const TUserBlockList&) = delete;
  TUserBlockList& operator=(const TUserBlockList&) = delete;

  void Clear();
  int Count() const { return int(Items.size()); }
  // Entry at index, or nullptr when index is negative or not below Count.
  TUserBlock* GetBlock(int index) const;
  // Takes the block and returns its index, or -1 (the block is freed) when its
  // key is already in the list.
  int Add(std::unique_ptr<TUserBlock> block);
  int IndexOfIds(uint32_t id1, uint32_t id2) const;
  int IndexOfKey(const std::string& key) const;
  // Frees the entry and removes it; the entries after it move up by one.
  // Throws std::out_of_range for an index outside the list.
  void Delete(int index);
  // Adds every sound record of the stream or file; records with keys already
  // present are dropped. LoadFromFile returns false when the file cannot be read.
  void LoadFromStream(TStream& s);
  bool LoadFromFile(const std::string& fileName);
  bool SaveToStream(TStream& s) const;
  // Writes every entry to fileName through a temporary file, so a failed save
  // keeps the previous file. Sets error (when given) on failure.
  bool SaveToFile(const std::string& fileName, std::string* error = nullptr) const;

 private:
  std::vector<std::unique_ptr<TUserBlock>> Items;
};
