// A table from the integer identifiers of a document to small values, for what a reader
// looks up by identifier while it reads. Open addressing keeps every entry in one array,
// so a file of 100,000 commands costs no allocation per identifier.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

template <typename V>
class TIdTable {
public:
  // The value of the identifier; null when it has none.
  V* Find(std::int32_t id);
  const V* Find(std::int32_t id) const { return const_cast<TIdTable*>(this)->Find(id); }
  // The value of the identifier, a new value-initialised one when it had none.
  V& operator[](std::int32_t id);
  void Erase(std::int32_t id);
  std::size_t Size() const { return Live; }
  void Clear() { *this = TIdTable(); }

private:
  enum class TState : std::uint8_t { Free, Used, Gone };
  struct TEntry {
    std::int32_t Id = 0;
    TState State = TState::Free;
    V Value{};
  };
  std::size_t Home(std::int32_t id) const {
    // The high bits of a multiplicative hash spread dense identifiers evenly.
    const std::uint64_t mixed = static_cast<std::uint32_t>(id) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(mixed >> Shift);
  }
  static constexpr std::size_t None = static_cast<std::size_t>(-1);
  std::size_t Locate(std::int32_t id) const;
  void Grow();

  std::vector<TEntry> Entries;  // a power of two long, or empty
  int Shift = 64;
  std::size_t Live = 0;
  std::size_t Taken = 0;  // entries used or gone
};

template <typename V>
std::size_t TIdTable<V>::Locate(std::int32_t id) const {
  if (Entries.empty()) return None;
  const std::size_t mask = Entries.size() - 1;
  for (std::size_t i = Home(id);; i = (i + 1) & mask) {
    const TEntry& entry = Entries[i];
    if (entry.State == TState::Free) return None;
    if (entry.State == TState::Used && entry.Id == id) return i;
  }
}

template <typename V>
V* TIdTable<V>::Find(std::int32_t id) {
  const std::size_t at = Locate(id);
  return at == None ? nullptr : &Entries[at].Value;
}

template <typename V>
V& TIdTable<V>::operator[](std::int32_t id) {
  if (V* value = Find(id)) return *value;
  if (2 * (Taken + 1) > Entries.size()) Grow();
  const std::size_t mask = Entries.size() - 1;
  std::size_t i = Home(id);
  while (Entries[i].State == TState::Used) i = (i + 1) & mask;
  if (Entries[i].State == TState::Free) ++Taken;
  Entries[i] = TEntry{id, TState::Used, V{}};
  ++Live;
  return Entries[i].Value;
}

template <typename V>
void TIdTable<V>::Erase(std::int32_t id) {
  const std::size_t at = Locate(id);
  if (at == None) return;
  Entries[at].State = TState::Gone;
  Entries[at].Value = V{};
  --Live;
}

template <typename V>
void TIdTable<V>::Grow() {
  std::vector<TEntry> old;
  old.swap(Entries);
  std::size_t size = 16;
  while (size < 4 * (Live + 1)) size *= 2;
  Entries.assign(size, TEntry{});
  Shift = 64;
  for (std::size_t s = size; s > 1; s >>= 1) --Shift;
  Live = Taken = 0;
  for (TEntry& entry : old)
    if (entry.State == TState::Used) (*this)[entry.Id] = entry.Value;
}
