// Paces the release of a large structure (an experiment being closed) for the memory
// allocator. The C library's allocator keeps small freed blocks aside and merges them
// with their neighbours only when a large block is freed; closing an experiment of
// 100,000 commands frees millions of small blocks and then one large block, and the
// merge walks them all long after they left the cache, which made closing slower than
// opening. Freeing a large block every so many deletions has the allocator merge the
// small ones while they are still in the cache. With other allocators it costs an
// allocation and a release now and then.
#pragma once

// Notes that one object (a command, a variable) was deleted.
void PaceRelease();
