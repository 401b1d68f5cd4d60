#include "layout/image_cache.h"

#include <array>

namespace lemmabox {
namespace {

constexpr int kLookupProbes = 6;
constexpr int kInsertProbes = 5;

struct CacheSlot {
  uint32_t stamp = 0;
  Handle key = nullptr;
  std::unique_ptr<CachedImage> companion;

  void Clear() {
    key = nullptr;
    stamp = 0;
    companion.reset();
  }
};

struct ImageCache {
  std::array<CacheSlot, kImageCacheSlots> slots;
  uint32_t stamp = 0;
};

// Allocated on first use: a program that never caches an image carries none.
ImageCache& Cache() {
  static std::unique_ptr<ImageCache> cache;
  if (!cache) cache = std::make_unique<ImageCache>();
  return *cache;
}

int ProbeSlot(Handle entry, int probe) {
  return (ImageCacheHome(entry) + probe) % kImageCacheSlots;
}

}  // namespace

int ImageCacheHome(Handle entry) {
  const uintptr_t h = reinterpret_cast<uintptr_t>(entry);
  const uintptr_t g = (h >> 2) + (h >> 16);
  return static_cast<int>((g + g / kImageCacheSlots) % kImageCacheSlots);
}

CachedImage* LookupCachedImage(Handle entry) {
  if (!entry) return nullptr;
  ImageCache& cache = Cache();
  for (int probe = 0; probe < kLookupProbes; ++probe) {
    CacheSlot& slot = cache.slots[ProbeSlot(entry, probe)];
    if (slot.key != entry) continue;
    if (slot.companion && !slot.companion->IsStale()) {
      slot.stamp = cache.stamp;
      return slot.companion.get();
    }
    slot.Clear();
    return nullptr;
  }
  return nullptr;
}

int InsertCachedImage(Handle entry, std::unique_ptr<CachedImage> image) {
  ImageCache& cache = Cache();
  ++cache.stamp;
  int chosen = -1;
  int oldest = ProbeSlot(entry, 0);
  for (int probe = 0; probe < kInsertProbes && chosen < 0; ++probe) {
    int index = ProbeSlot(entry, probe);
    const CacheSlot& slot = cache.slots[index];
    if (slot.key == entry || !slot.key || !slot.companion || slot.companion->IsStale()) {
      chosen = index;
    } else if (slot.stamp < cache.slots[oldest].stamp) {
      oldest = index;
    }
  }
  if (chosen < 0) chosen = oldest;
  // An older image of the same entry further along goes now, not when its
  // slot is next needed.
  for (int probe = 0; probe < kLookupProbes; ++probe) {
    int index = ProbeSlot(entry, probe);
    if (index != chosen && cache.slots[index].key == entry) cache.slots[index].Clear();
  }
  CacheSlot& slot = cache.slots[chosen];
  slot.Clear();
  slot.key = entry;
  slot.companion = std::move(image);
  slot.stamp = cache.stamp;
  return chosen;
}

void RemoveCachedImage(Handle entry) {
  if (!entry) return;
  ImageCache& cache = Cache();
  for (int probe = 0; probe < kLookupProbes; ++probe) {
    CacheSlot& slot = cache.slots[ProbeSlot(entry, probe)];
    if (slot.key == entry) slot.Clear();
  }
}

void FlushImageCache() {
  for (CacheSlot& slot : Cache().slots) slot.Clear();
}

Handle ImageCacheKey(int slot) {
  return Cache().slots[slot % kImageCacheSlots].key;
}

}  // namespace lemmabox
