// Fuzzes the font metrics reader with arbitrary file contents: it must
// either read a face or raise the corrupt-data message, and a face it reads
// must be one that measuring can use without going out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "ports/font_metrics.h"
#include "shell/failure.h"
#include "shell/messages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lemmabox;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::unique_ptr<FaceMetrics> face;
  MessageNumber raised = CatchFailure([&] { face = ParseAfm(text); });
  if (raised != 0 && raised != kMsgCorruptData) std::abort();
  if (!face) return 0;
  const int32_t glyphs = static_cast<int32_t>(face->glyphs.size());
  for (int code = 0; code < 256; ++code) {
    if (face->encoding[code] >= glyphs || face->byteGlyph[code] >= glyphs) std::abort();
  }
  if (face->ascent < 0 || face->descent < 0 || face->fontName.empty()) std::abort();
  return 0;
}
