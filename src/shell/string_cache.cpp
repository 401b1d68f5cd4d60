#include "shell/string_cache.h"

#include <cstdint>
#include <cstring>

#include "shell/failure.h"
#include "shell/messages.h"
#include "shell/strings.h"

namespace lemmabox {
namespace {

alignas(4) unsigned char gCache[kStringCacheBytes];
bool gCacheReady = false;
char gMessageBuffer[kMaxLoadedStringLength + 1];

// The directory pairs: word 0 the offset of the text, word 1 the id.
uint16_t PairWord(int pair, int word) {
  uint16_t value;
  std::memcpy(&value, gCache + pair * 4 + word * 2, sizeof value);
  return value;
}

void SetPair(int pair, uint16_t offset, uint16_t id) {
  std::memcpy(gCache + pair * 4, &offset, sizeof offset);
  std::memcpy(gCache + pair * 4 + 2, &id, sizeof id);
}

// Copies at most kMaxLoadedStringLength characters of text to dest and
// terminates it; returns the number of characters copied.
int LoadText(const char* text, char* dest) {
  int length = static_cast<int>(std::strlen(text));
  if (length > kMaxLoadedStringLength) length = kMaxLoadedStringLength;
  std::memcpy(dest, text, length);
  dest[length] = '\0';
  return length;
}

void EnsureCache() {
  if (!gCacheReady) ResetStringCache();
}

}  // namespace

void ResetStringCache() {
  std::memset(gCache, 0, sizeof gCache);
  SetPair(0, kStringCacheTextStart, 0);
  gCacheReady = true;
}

const char* StringById(int id) {
  // Id 0 marks the end of the directory, and the directory holds 16-bit ids;
  // no string exists outside that range.
  if (id <= 0 || id > UINT16_MAX) return nullptr;
  EnsureCache();
  int pair = 0;
  while (pair < kStringCachePairs && PairWord(pair, 1) != 0) {
    if (PairWord(pair, 1) == id) {
      uint16_t offset = PairWord(pair, 0);
      return offset == 0 ? nullptr : reinterpret_cast<const char*>(gCache + offset);
    }
    ++pair;
  }
  // The directory always ends in a pair with id 0, so the walk stops inside it.
  if (pair >= kStringCachePairs) InternalError("StringById");
  const char* text = StringTableText(id);
  int next = PairWord(pair, 0);
  bool roomForText = kStringCacheBytes - next >= kMaxLoadedStringLength + 1;
  bool roomForPair = pair + 1 < kStringCachePairs;
  if (roomForText && roomForPair) {
    if (text == nullptr) {
      SetPair(pair, 0, static_cast<uint16_t>(id));
      SetPair(pair + 1, static_cast<uint16_t>(next), 0);
      return nullptr;
    }
    char* dest = reinterpret_cast<char*>(gCache + next);
    int length = LoadText(text, dest);
    SetPair(pair, static_cast<uint16_t>(next), static_cast<uint16_t>(id));
    SetPair(pair + 1, static_cast<uint16_t>(next + length + 1), 0);
    return dest;
  }
  if (text == nullptr) return nullptr;
  LoadText(text, gMessageBuffer);
  return gMessageBuffer;
}

const char* MessageText(MessageNumber n) {
  const char* text = n == 0 ? nullptr : StringTableText(n);
  LoadText(text ? text : DefaultMessage(), gMessageBuffer);
  return gMessageBuffer;
}

const char* SharedMessageBuffer() {
  return gMessageBuffer;
}

const char* DefaultMessage() {
  return StringTableText(kMsgSystemError);
}

const char* ProgramName() {
  return StringTableText(kStrProgramName);
}

}  // namespace lemmabox
