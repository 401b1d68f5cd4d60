// The string cache and the shared message buffer.
//
// Words of the user interface are fetched by id again and again while
// drawing, so they are kept in one 4096-byte block once loaded: a directory
// of 200 pairs of 16-bit words {offset of the text, id} at the start, the
// texts from offset 800. The directory ends at the first pair whose id is 0;
// that pair's offset is where the next text goes. A string that does not
// exist is remembered with offset 0. When the block is full, a string is
// loaded into the shared 256-character message buffer instead, where it
// stays valid only until the next load.
#pragma once

#include "shell/types.h"

namespace lemmabox {

constexpr int kStringCacheBytes = 4096;
constexpr int kStringCacheTextStart = 800;  // so the directory has room for 200 pairs
constexpr int kStringCachePairs = kStringCacheTextStart / 4;
// The longest text that is loaded; longer ones are cut.
constexpr int kMaxLoadedStringLength = 255;

// Creates the cache afresh (start-up) and forgets everything cached.
void ResetStringCache();

// The text of string id through the cache; nullptr when there is none.
const char* StringById(int id);

// Loads the text of message n into the shared buffer and returns the buffer;
// when n is 0 or has no text, the buffer holds the default message.
const char* MessageText(MessageNumber n);

// The shared message buffer (for tests and for code that formats into it).
const char* SharedMessageBuffer();

// "A system error has occurred - please contact Tarno.": shown for any
// message number that has no text.
const char* DefaultMessage();
// "Lemmabox": the caption of every alert that names none of its own.
const char* ProgramName();

}  // namespace lemmabox
