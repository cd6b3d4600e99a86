// A set of pointers that keeps the order they were added in. Attributes keep their
// users, devices their commands and outputs their Plot commands in one: a variable of
// a 100,000-command experiment can have that many users, so membership, adding and
// removing take constant time (amortised) once the set is larger than a few items.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

template <typename T>
class TOrderedSet {
public:
  bool Contains(const T* item) const { return Find(item) != None; }
  // Appends the item unless it is there already; true when it was added.
  bool Insert(T* item);
  // True when the item was there.
  bool Erase(const T* item);
  void Clear();

  // The item added last of those still there; null when empty.
  T* Back() const { return Slots.empty() ? nullptr : Slots.back(); }
  std::size_t Size() const { return Live; }
  bool Empty() const { return Live == 0; }
  // The items in the order they were added.
  std::vector<T*> Items() const;
  // The item's position in that order; -1 when absent.
  int IndexOf(const T* item) const;

private:
  static constexpr std::size_t None = static_cast<std::size_t>(-1);
  // Below this many slots a scan is cheaper than an index.
  static constexpr std::size_t IndexFrom = 32;

  // An open-addressed table from item to slot: no allocation per item, so that sets of
  // tens of thousands fill and empty as fast as vectors do.
  struct TBucket {
    const T* Item = nullptr;  // null: never used; Gone: erased
    std::size_t Slot = 0;
  };
  static const T* Gone() { return reinterpret_cast<const T*>(alignof(T)); }
  std::size_t Home(const T* item) const {
    // Items made one after another lie one after another in memory and join a set in that
    // order (a file's commands), so their address keeps them near each other in the
    // table, which the caches reward; the higher bits folded in break long strides.
    // Addresses come from the allocator, never from a file.
    const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(item));
    return static_cast<std::size_t>((bits >> 4) ^ (bits >> 24)) & (Buckets.size() - 1);
  }
  std::size_t FindBucket(const T* item) const;
  void Place(const T* item, std::size_t slot);

  std::size_t Find(const T* item) const;
  void Compact();
  void Reindex();

  std::vector<T*> Slots;  // erased items leave null slots behind while indexed, never last
  std::vector<TBucket> Buckets;  // empty until indexed; a power of two long
  std::size_t Used = 0;          // buckets holding an item or Gone
  std::size_t Live = 0;
};

template <typename T>
std::size_t TOrderedSet<T>::FindBucket(const T* item) const {
  for (std::size_t i = Home(item);; i = (i + 1) & (Buckets.size() - 1)) {
    if (Buckets[i].Item == item) return i;
    if (!Buckets[i].Item) return None;
  }
}

template <typename T>
void TOrderedSet<T>::Place(const T* item, std::size_t slot) {
  std::size_t i = Home(item);
  while (Buckets[i].Item && Buckets[i].Item != Gone()) i = (i + 1) & (Buckets.size() - 1);
  if (!Buckets[i].Item) ++Used;
  Buckets[i] = TBucket{item, slot};
}

template <typename T>
std::size_t TOrderedSet<T>::Find(const T* item) const {
  if (!item) return None;
  if (!Buckets.empty()) {
    const std::size_t bucket = FindBucket(item);
    return bucket == None ? None : Buckets[bucket].Slot;
  }
  const auto found = std::find(Slots.begin(), Slots.end(), item);
  return found == Slots.end() ? None : static_cast<std::size_t>(found - Slots.begin());
}

template <typename T>
bool TOrderedSet<T>::Insert(T* item) {
  if (!item || Contains(item)) return false;
  Slots.push_back(item);
  ++Live;
  if (Buckets.empty() ? Slots.size() > IndexFrom : 2 * (Used + 1) > Buckets.size())
    Reindex();
  else if (!Buckets.empty())
    Place(item, Slots.size() - 1);
  return true;
}

template <typename T>
bool TOrderedSet<T>::Erase(const T* item) {
  const std::size_t slot = Find(item);
  if (slot == None) return false;
  --Live;
  if (Buckets.empty()) {
    Slots.erase(Slots.begin() + static_cast<std::ptrdiff_t>(slot));
    return true;
  }
  Slots[slot] = nullptr;
  Buckets[FindBucket(item)].Item = Gone();
  while (!Slots.empty() && !Slots.back()) Slots.pop_back();  // keeps Back at hand
  // Null slots never outnumber the items, so walks stay in proportion to the set.
  if (Slots.size() > 2 * Live + IndexFrom) Compact();
  return true;
}

template <typename T>
void TOrderedSet<T>::Clear() {
  Slots.clear();
  Buckets.clear();
  Used = 0;
  Live = 0;
}

template <typename T>
std::vector<T*> TOrderedSet<T>::Items() const {
  std::vector<T*> items;
  items.reserve(Live);
  for (T* item : Slots)
    if (item) items.push_back(item);
  return items;
}

template <typename T>
int TOrderedSet<T>::IndexOf(const T* item) const {
  const std::size_t slot = Find(item);
  if (slot == None) return -1;
  return static_cast<int>(std::count_if(Slots.begin(), Slots.begin() + static_cast<std::ptrdiff_t>(slot),
                                        [](const T* other) { return other != nullptr; }));
}

template <typename T>
void TOrderedSet<T>::Compact() {
  Slots.erase(std::remove(Slots.begin(), Slots.end(), nullptr), Slots.end());
  Reindex();
}

template <typename T>
void TOrderedSet<T>::Reindex() {
  Buckets.clear();
  Used = 0;
  if (Slots.size() <= IndexFrom) {
    Slots.erase(std::remove(Slots.begin(), Slots.end(), nullptr), Slots.end());
    return;
  }
  std::size_t size = 64;
  while (size < 4 * Slots.size()) size *= 2;
  Buckets.assign(size, TBucket{});
  for (std::size_t i = 0; i < Slots.size(); ++i)
    if (Slots[i]) Place(Slots[i], i);
}
