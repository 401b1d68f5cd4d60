// The cache of rendered images of notebook entries (graphs, tables and the
// other entries whose drawing is costly).
//
// 128 slots, each holding an entry's handle as its key, a companion object
// that owns the image and knows whether it has gone stale, and a stamp that
// tells how recently the slot was used. A handle has a home slot; a lookup
// probes it and the next five slots, an insertion the home slot and the next
// four, wrapping at 128. An insertion that finds no free, stale or
// same-keyed slot among those evicts the least recently used of them.
#pragma once

#include <cstdint>
#include <memory>

#include "shell/types.h"

namespace lemmabox {

constexpr int kImageCacheSlots = 128;

// Owns an entry's rendered image. The cache destroys it when the entry goes,
// when it reports itself stale, or when its slot is needed.
class CachedImage {
 public:
  virtual ~CachedImage() = default;
  virtual bool IsStale() const = 0;
};

// The home slot of a handle.
int ImageCacheHome(Handle entry);

// The companion cached for entry, or null. A stale companion found on the
// way is destroyed and the lookup fails.
CachedImage* LookupCachedImage(Handle entry);
// Caches a companion for entry and returns the slot it took.
int InsertCachedImage(Handle entry, std::unique_ptr<CachedImage> image);
// Destroys the companion cached for entry, if any (the entry is going away
// or has changed).
void RemoveCachedImage(Handle entry);
// Destroys every companion.
void FlushImageCache();

// The key of a slot (null when empty), for tests.
Handle ImageCacheKey(int slot);

}  // namespace lemmabox
