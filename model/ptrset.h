#pragma once
// A set of object addresses in one flat open-addressing table (linear probing,
// deletion by shifting back), for membership questions on hot paths where a
// node-based set would cost an allocation and a cache miss per entry.

#include <cstddef>
#include <cstdint>
#include <vector>

class TPtrSet {
 public:
  bool Contains(const void* p) const {
    if (!p || table_.empty()) return false;
    for (size_t i = Home(p);; i = (i + 1) & mask_) {
      if (table_[i] == p) return true;
      if (!table_[i]) return false;
    }
  }
  void Insert(const void* p) {
    if ((count_ + 1) * 2 > table_.size()) Grow();
    size_t i = Home(p);
    while (table_[i]) {
      if (table_[i] == p) return;
      i = (i + 1) & mask_;
    }
    table_[i] = p;
    ++count_;
  }
  void Erase(const void* p) {
    if (table_.empty()) return;
    size_t i = Home(p);
    while (table_[i] != p) {
      if (!table_[i]) return;
      i = (i + 1) & mask_;
    }
    // Shift later entries of the cluster back so every probe stays unbroken.
    for (size_t j = (i + 1) & mask_; table_[j]; j = (j + 1) & mask_) {
      const size_t h = Home(table_[j]);
      // Move j into the hole at i unless its home lies cyclically in (i, j].
      if (((j - h) & mask_) >= ((j - i) & mask_)) {
        table_[i] = table_[j];
        i = j;
      }
    }
    table_[i] = nullptr;
    --count_;
  }
  void Clear() {
    table_.clear();
    count_ = 0;
    mask_ = 0;
  }
  size_t Size() const { return count_; }

 private:
  size_t Home(const void* p) const {
    const uint64_t h = uint64_t(reinterpret_cast<uintptr_t>(p)) * 0x9E3779B97F4A7C15ull;
    return size_t(h >> 20) & mask_;
  }
  void Grow() {
    std::vector<const void*> old;
    old.swap(table_);
    table_.assign(old.empty() ? 64 : old.size() * 2, nullptr);
    mask_ = table_.size() - 1;
    count_ = 0;
    for (const void* p : old)
      if (p) Insert(p);
  }

  std::vector<const void*> table_;
  size_t mask_ = 0;
  size_t count_ = 0;
};
