#include "model/release_pace.h"

#include <cstddef>
#include <cstdlib>

namespace {

// Deletions between two merges: a few hundred commands' blocks stay in the cache.
constexpr unsigned DeletionsPerMerge = 128;
// Larger than the size at which the allocator merges, smaller than the size it maps
// separately from the system.
constexpr std::size_t MergingSize = 72 * 1024;

}  // namespace

void PaceRelease() {
  thread_local unsigned deletions = 0;
  if (++deletions < DeletionsPerMerge) return;
  deletions = 0;
  // The volatile pointer keeps the compiler from leaving out the pair.
  void* volatile block = std::malloc(MergingSize);
  std::free(block);
}
