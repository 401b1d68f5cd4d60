#include "app/screen_fonts.h"

#include <QFile>
#include <QFileInfo>
#include <map>
#include <memory>
#include <unordered_map>

#include "ports/font_metrics.h"
#include "shell/charset.h"

namespace lemmabox {
namespace {

// Windows-1252 from 0x80 to 0x9F; the rest of the set is Latin-1.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0000, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x0000, 0x017D, 0x0000,  // 0x88
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x0000, 0x017E, 0x0178,  // 0x98
};

// Glyphs of the Symbol font that Unicode has no character for: the font
// files' Unicode table carries them in the private use area under the
// code points the Adobe glyph list gives their names.
struct PrivateGlyph {
  const char* name;
  char32_t code;
};
constexpr PrivateGlyph kPrivateGlyphs[] = {
    {"radicalex", 0xF8E5},      {"arrowvertex", 0xF8E6},    {"arrowhorizex", 0xF8E7},
    {"registersans", 0xF8E8},   {"copyrightsans", 0xF8E9},  {"trademarksans", 0xF8EA},
    {"parenlefttp", 0xF8EB},    {"parenleftex", 0xF8EC},    {"parenleftbt", 0xF8ED},
    {"bracketlefttp", 0xF8EE},  {"bracketleftex", 0xF8EF},  {"bracketleftbt", 0xF8F0},
    {"bracelefttp", 0xF8F1},    {"braceleftmid", 0xF8F2},   {"braceleftbt", 0xF8F3},
    {"braceex", 0xF8F4},        {"integralex", 0xF8F5},     {"parenrighttp", 0xF8F6},
    {"parenrightex", 0xF8F7},   {"parenrightbt", 0xF8F8},   {"bracketrighttp", 0xF8F9},
    {"bracketrightex", 0xF8FA}, {"bracketrightbt", 0xF8FB}, {"bracerighttp", 0xF8FC},
    {"bracerightmid", 0xF8FD},  {"bracerightbt", 0xF8FE},   {"copyrightserif", 0xF6D9},
    {"registerserif", 0xF6DA},  {"trademarkserif", 0xF6DB}, {"apple", 0xF8FF},
};

QString TextOf(char32_t code) {
  return QString::fromUcs4(&code, 1);
}

quint32 GlyphIndexOf(const QRawFont& raw, char32_t code) {
  if (code == 0) return 0;
  QVector<quint32> indexes = raw.glyphIndexesForString(TextOf(code));
  return indexes.size() == 1 ? indexes[0] : 0;
}

// The glyph of the raw font that shows a glyph name of the metrics.
quint32 FindGlyph(const QRawFont& raw, const FaceMetrics& face, uint8_t byte) {
  int32_t index = face.byteGlyph[byte];
  if (index < 0) return 0;
  if (quint32 glyph = GlyphIndexOf(raw, UnicodeOfFaceByte(face, byte))) return glyph;
  const std::string& name = face.glyphs[index].name;
  for (const PrivateGlyph& entry : kPrivateGlyphs) {
    if (name == entry.name) return GlyphIndexOf(raw, entry.code);
  }
  if (name.size() == 7 && name.compare(0, 3, "uni") == 0) {
    bool ok = false;
    uint code = QString::fromStdString(name.substr(3)).toUInt(&ok, 16);
    if (ok) return GlyphIndexOf(raw, code);
  }
  return 0;
}

struct LoadedFace {
  QRawFont base;  // at a nominal size; sized copies come from it
  std::array<quint32, 256> glyphs{};
  std::map<int32_t, QRawFont> sized;
};

std::unordered_map<const FaceMetrics*, std::unique_ptr<LoadedFace>>& Loaded() {
  static std::unordered_map<const FaceMetrics*, std::unique_ptr<LoadedFace>> loaded;
  return loaded;
}

LoadedFace& Load(const FaceMetrics& face) {
  auto& loaded = Loaded();
  auto found = loaded.find(&face);
  if (found != loaded.end()) return *found->second;
  auto entry = std::make_unique<LoadedFace>();
  QString file = ScreenFontFile(face);
  if (!file.isEmpty()) entry->base = QRawFont(file, 100, QFont::PreferNoHinting);
  if (entry->base.isValid()) {
    for (int byte = 0; byte < 256; ++byte) {
      entry->glyphs[byte] = FindGlyph(entry->base, face, static_cast<uint8_t>(byte));
    }
  }
  LoadedFace& result = *entry;
  loaded.emplace(&face, std::move(entry));
  return result;
}

}  // namespace

char32_t UnicodeOfFaceByte(const FaceMetrics& face, uint8_t byte) {
  if (face.fontSpecific) return face.postScriptName == "Symbol" ? UnicodeFromSymbolCode(byte) : 0;
  if (byte >= 0x80 && byte < 0xA0) return kWindows1252High[byte - 0x80];
  return byte < 0x20 ? 0 : byte;
}

QString ScreenFontFile(const FaceMetrics& face) {
  const QString name = QString::fromStdString(face.fontName);
  const QString directory = QString::fromStdString(FontDirectory());
  const QString candidates[] = {
      directory + "/" + name + ".t1",
      directory + "/" + name + ".pfb",
      directory + "/../../opentype/urw-base35/" + name + ".otf",
  };
  for (const QString& candidate : candidates) {
    if (QFileInfo(candidate).isFile()) return QFileInfo(candidate).canonicalFilePath();
  }
  return QString();
}

ScreenFace ScreenFaceFor(const PortFont& font) {
  ResolvedFont resolved = ResolveFont(font);
  LoadedFace& loaded = Load(*resolved.face);
  ScreenFace face;
  face.metrics = resolved.face;
  face.glyphs = &loaded.glyphs;
  face.syntheticBold = resolved.syntheticBold;
  face.syntheticItalic = resolved.syntheticItalic;
  if (loaded.base.isValid() && font.size > 0) {
    auto sized = loaded.sized.find(font.size);
    if (sized == loaded.sized.end()) {
      QRawFont raw = loaded.base;
      raw.setPixelSize(font.size);
      sized = loaded.sized.emplace(font.size, raw).first;
    }
    face.raw = sized->second;
  }
  return face;
}

PlacedGlyphs PlaceGlyphs(const ScreenFace& face, std::string_view text, int32_t size) {
  PlacedGlyphs placed;
  int64_t thousandths = 0;
  for (char c : text) {
    const uint8_t byte = static_cast<uint8_t>(c);
    const int32_t index = face.metrics->byteGlyph[byte];
    if (index < 0) continue;
    const quint32 glyph = face.glyphs ? (*face.glyphs)[byte] : 0;
    if (glyph != 0) {
      placed.glyphs.push_back(glyph);
      placed.positions.push_back(QPointF(thousandths * size / 1000.0, 0));
    }
    thousandths += face.metrics->glyphs[index].width;
  }
  placed.advance = thousandths * size / 1000.0;
  return placed;
}

void ResetScreenFonts() {
  Loaded().clear();
}

}  // namespace lemmabox
