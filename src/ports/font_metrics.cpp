#include "ports/font_metrics.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

// ---------------------------------------------------------------------------
// The byte encoding of the text fonts: Windows ANSI, as the notebook's plain
// high characters are (nullptr: undefined code).

constexpr const char* kWinAnsiHigh[128] = {
    // 0x80
    "Euro", nullptr, "quotesinglbase", "florin", "quotedblbase", "ellipsis", "dagger", "daggerdbl",
    "circumflex", "perthousand", "Scaron", "guilsinglleft", "OE", nullptr, "Zcaron", nullptr,
    // 0x90
    nullptr, "quoteleft", "quoteright", "quotedblleft", "quotedblright", "bullet", "endash",
    "emdash", "tilde", "trademark", "scaron", "guilsinglright", "oe", nullptr, "zcaron",
    "Ydieresis",
    // 0xA0 (no-break space and soft hyphen print as their plain forms)
    "space", "exclamdown", "cent", "sterling", "currency", "yen", "brokenbar", "section",
    "dieresis", "copyright", "ordfeminine", "guillemotleft", "logicalnot", "hyphen", "registered",
    "macron",
    // 0xB0
    "degree", "plusminus", "twosuperior", "threesuperior", "acute", "mu", "paragraph",
    "periodcentered", "cedilla", "onesuperior", "ordmasculine", "guillemotright", "onequarter",
    "onehalf", "threequarters", "questiondown",
    // 0xC0
    "Agrave", "Aacute", "Acircumflex", "Atilde", "Adieresis", "Aring", "AE", "Ccedilla", "Egrave",
    "Eacute", "Ecircumflex", "Edieresis", "Igrave", "Iacute", "Icircumflex", "Idieresis",
    // 0xD0
    "Eth", "Ntilde", "Ograve", "Oacute", "Ocircumflex", "Otilde", "Odieresis", "multiply", "Oslash",
    "Ugrave", "Uacute", "Ucircumflex", "Udieresis", "Yacute", "Thorn", "germandbls",
    // 0xE0
    "agrave", "aacute", "acircumflex", "atilde", "adieresis", "aring", "ae", "ccedilla", "egrave",
    "eacute", "ecircumflex", "edieresis", "igrave", "iacute", "icircumflex", "idieresis",
    // 0xF0
    "eth", "ntilde", "ograve", "oacute", "ocircumflex", "otilde", "odieresis", "divide", "oslash",
    "ugrave", "uacute", "ucircumflex", "udieresis", "yacute", "thorn", "ydieresis"};

constexpr const char* kAsciiNames[95] = {"space",       "exclam",
                                         "quotedbl",    "numbersign",
                                         "dollar",      "percent",
                                         "ampersand",   "quotesingle",
                                         "parenleft",   "parenright",
                                         "asterisk",    "plus",
                                         "comma",       "hyphen",
                                         "period",      "slash",
                                         "zero",        "one",
                                         "two",         "three",
                                         "four",        "five",
                                         "six",         "seven",
                                         "eight",       "nine",
                                         "colon",       "semicolon",
                                         "less",        "equal",
                                         "greater",     "question",
                                         "at",          "A",
                                         "B",           "C",
                                         "D",           "E",
                                         "F",           "G",
                                         "H",           "I",
                                         "J",           "K",
                                         "L",           "M",
                                         "N",           "O",
                                         "P",           "Q",
                                         "R",           "S",
                                         "T",           "U",
                                         "V",           "W",
                                         "X",           "Y",
                                         "Z",           "bracketleft",
                                         "backslash",   "bracketright",
                                         "asciicircum", "underscore",
                                         "grave",       "a",
                                         "b",           "c",
                                         "d",           "e",
                                         "f",           "g",
                                         "h",           "i",
                                         "j",           "k",
                                         "l",           "m",
                                         "n",           "o",
                                         "p",           "q",
                                         "r",           "s",
                                         "t",           "u",
                                         "v",           "w",
                                         "x",           "y",
                                         "z",           "braceleft",
                                         "bar",         "braceright",
                                         "asciitilde"};

// ---------------------------------------------------------------------------
// AFM parsing.

constexpr int32_t kMaxMetricValue = 100000;
constexpr size_t kMaxGlyphs = 65536;
constexpr size_t kMaxNameLength = 255;

[[noreturn]] void Corrupt() {
  Raise(kMsgCorruptData);
}

std::string_view Trim(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && (s[b] == ' ' || s[b] == '\t')) ++b;
  size_t e = s.size();
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

// Splits off the first blank-separated word of s.
std::string_view NextWord(std::string_view& s) {
  s = Trim(s);
  size_t end = 0;
  while (end < s.size() && s[end] != ' ' && s[end] != '\t') ++end;
  std::string_view word = s.substr(0, end);
  s = s.substr(end);
  return word;
}

double ParseNumber(std::string_view word) {
  if (word.empty()) Corrupt();
  if (word.front() == '+') word.remove_prefix(1);
  double value = 0;
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size() || !std::isfinite(value) ||
      std::fabs(value) > kMaxMetricValue) {
    Corrupt();
  }
  return value;
}

int32_t ParseMetric(std::string_view& rest) {
  return static_cast<int32_t>(std::lround(ParseNumber(NextWord(rest))));
}

void ParseBox(std::string_view& rest, GlyphBox& box) {
  box.left = ParseMetric(rest);
  box.bottom = ParseMetric(rest);
  box.right = ParseMetric(rest);
  box.top = ParseMetric(rest);
}

// Names end up in PostScript output as name literals, so they may not hold
// blanks, controls or PostScript's delimiters.
bool IsValidName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameLength) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return c > ' ' && static_cast<unsigned char>(c) < 0x7F &&
           std::string_view("()<>[]{}/%").find(c) == std::string_view::npos;
  });
}

// One line of the character metrics: "C 65 ; WX 722 ; N A ; B 15 0 706 674 ;".
void ParseCharMetrics(std::string_view line, FaceMetrics& face) {
  if (face.glyphs.size() >= kMaxGlyphs) Corrupt();
  GlyphMetrics glyph;
  int32_t code = -1;
  bool sawCode = false;
  while (!line.empty()) {
    size_t semicolon = line.find(';');
    std::string_view field = line.substr(0, semicolon);
    line = semicolon == std::string_view::npos ? std::string_view() : line.substr(semicolon + 1);
    std::string_view rest = field;
    std::string_view key = NextWord(rest);
    if (key.empty()) continue;
    if (key == "C") {
      double value = ParseNumber(NextWord(rest));
      if (value != std::floor(value) || value < -1 || value > 255) Corrupt();
      code = static_cast<int32_t>(value);
      sawCode = true;
    } else if (key == "CH") {
      // A hexadecimal code <hh>; only single bytes are meaningful here.
      std::string_view hex = NextWord(rest);
      if (hex.size() < 3 || hex.front() != '<' || hex.back() != '>') Corrupt();
      hex = hex.substr(1, hex.size() - 2);
      unsigned value = 0;
      auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), value, 16);
      if (error != std::errc() || end != hex.data() + hex.size() || value > 255) Corrupt();
      code = static_cast<int32_t>(value);
      sawCode = true;
    } else if (key == "WX" || key == "W0X" || key == "W" || key == "W0") {
      glyph.width = ParseMetric(rest);
    } else if (key == "N") {
      std::string_view name = NextWord(rest);
      if (!IsValidName(name)) Corrupt();
      glyph.name.assign(name);
    } else if (key == "B") {
      ParseBox(rest, glyph.box);
    }
    // Ligatures (L) and vertical metrics are of no use to us.
  }
  if (!sawCode) Corrupt();
  int32_t index = static_cast<int32_t>(face.glyphs.size());
  if (!glyph.name.empty()) face.glyphByName.emplace(glyph.name, index);
  if (code >= 0 && face.encoding[code] < 0) face.encoding[code] = index;
  face.glyphs.push_back(std::move(glyph));
}

// Ascent and descent for the line box: the file's own values when it has
// them, else the extremes of the printable range of its encoding.
void DeriveLineBox(FaceMetrics& face, int32_t ascender, int32_t descender) {
  if (ascender > 0 && descender < 0) {
    face.ascent = ascender;
    face.descent = -descender;
    return;
  }
  bool any = false;
  int32_t top = 0;
  int32_t bottom = 0;
  for (int code = 0x20; code < 0x7F; ++code) {
    int32_t index = face.encoding[code];
    if (index < 0 || face.glyphs[index].box.IsEmpty()) continue;
    const GlyphBox& box = face.glyphs[index].box;
    top = any ? std::max(top, box.top) : box.top;
    bottom = any ? std::min(bottom, box.bottom) : box.bottom;
    any = true;
  }
  if (!any) {
    top = face.fontBox.top;
    bottom = face.fontBox.bottom;
  }
  face.ascent = std::max(top, 0);
  face.descent = std::max(-bottom, 0);
}

bool WeightIsBold(std::string_view weight) {
  std::string lower;
  for (char c : weight) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.find("bold") != std::string::npos || lower.find("demi") != std::string::npos ||
         lower.find("black") != std::string::npos || lower.find("heavy") != std::string::npos;
}

}  // namespace

int32_t FaceMetrics::GlyphIndex(std::string_view name) const {
  auto found = glyphByName.find(std::string(name));
  return found == glyphByName.end() ? -1 : found->second;
}

std::string_view WinAnsiGlyphName(uint8_t code) {
  const char* name = nullptr;
  if (code >= 0x20 && code < 0x7F) {
    name = kAsciiNames[code - 0x20];
  } else if (code >= 0x80) {
    name = kWinAnsiHigh[code - 0x80];
  }
  return name ? std::string_view(name) : std::string_view(".notdef");
}

std::unique_ptr<FaceMetrics> ParseAfm(std::string_view text) {
  auto face = std::make_unique<FaceMetrics>();
  face->encoding.fill(-1);
  face->byteGlyph.fill(-1);
  bool started = false;
  bool sawCharMetrics = false;
  bool inCharMetrics = false;
  bool fontSpecific = false;
  int32_t ascender = 0;
  int32_t descender = 0;
  std::string weight;
  // Kerning, composites and track data lie between Start... and End...
  // lines; their content is skipped whole.
  std::string skipUntil;

  while (!text.empty()) {
    size_t end = text.find_first_of("\r\n");
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty()) continue;
    std::string_view rest = line;
    std::string_view key = NextWord(rest);
    rest = Trim(rest);

    if (!started) {
      if (key != "StartFontMetrics") Corrupt();
      started = true;
      continue;
    }
    if (!skipUntil.empty()) {
      if (key == skipUntil) skipUntil.clear();
      continue;
    }
    if (inCharMetrics) {
      if (key == "EndCharMetrics") {
        inCharMetrics = false;
      } else if (key == "C" || key == "CH") {
        ParseCharMetrics(line, *face);
      } else if (key != "Comment") {
        Corrupt();
      }
      continue;
    }
    if (key == "EndFontMetrics") break;
    if (key == "FontName") {
      if (!IsValidName(rest)) Corrupt();
      face->fontName.assign(rest);
    } else if (key == "FamilyName") {
      face->familyName.assign(rest.substr(0, kMaxNameLength));
    } else if (key == "Weight") {
      weight.assign(rest.substr(0, kMaxNameLength));
    } else if (key == "ItalicAngle") {
      face->italicAngle = ParseNumber(NextWord(rest));
    } else if (key == "FontBBox") {
      ParseBox(rest, face->fontBox);
    } else if (key == "CapHeight") {
      face->capHeight = ParseMetric(rest);
    } else if (key == "XHeight") {
      face->xHeight = ParseMetric(rest);
    } else if (key == "Ascender") {
      ascender = ParseMetric(rest);
    } else if (key == "Descender") {
      descender = ParseMetric(rest);
    } else if (key == "UnderlinePosition") {
      face->underlinePosition = ParseMetric(rest);
    } else if (key == "UnderlineThickness") {
      face->underlineThickness = ParseMetric(rest);
    } else if (key == "EncodingScheme") {
      fontSpecific = rest == "FontSpecific";
    } else if (key == "StartCharMetrics") {
      if (sawCharMetrics) Corrupt();
      sawCharMetrics = true;
      inCharMetrics = true;
    } else if (key == "StartKernData" || key == "StartComposites" || key == "StartTrackKern" ||
               key == "StartKernPairs" || key == "StartDirection") {
      skipUntil = "End" + std::string(key.substr(5));
    }
    // Other keys (Comment, Notice, Version, IsFixedPitch, ...) carry nothing
    // that measuring needs.
  }
  if (!started || !sawCharMetrics || inCharMetrics || face->fontName.empty() ||
      face->glyphs.empty()) {
    Corrupt();
  }

  face->fontSpecific = fontSpecific;
  face->bold = WeightIsBold(weight);
  face->italic = face->italicAngle != 0;
  DeriveLineBox(*face, ascender, descender);
  if (fontSpecific) {
    face->byteGlyph = face->encoding;
  } else {
    for (int code = 0; code < 256; ++code) {
      face->byteGlyph[code] = face->GlyphIndex(WinAnsiGlyphName(static_cast<uint8_t>(code)));
    }
    // .notdef is never drawn.
    for (int32_t& index : face->byteGlyph) {
      if (index >= 0 && face->glyphs[index].name == ".notdef") index = -1;
    }
  }
  return face;
}

int32_t ScaleFontUnits(int64_t thousandths, int32_t size) {
  int64_t product = thousandths * std::max(size, 0);
  int64_t rounded = product >= 0 ? (product + 500) / 1000 : -((-product + 500) / 1000);
  return static_cast<int32_t>(rounded);
}

// ---------------------------------------------------------------------------
// The font table and the loaded faces.

namespace {

struct FaceEntry {
  const char* postScriptName;
  const char* file;
};

// Faces in the order regular, bold, italic, bold italic. Families with one
// face repeat it.
struct FamilyEntry {
  const char* name;
  // Other names of the same design, compared in normalised form (lower case,
  // no blanks, hyphens or underscores), separated by '|'.
  const char* aliases;
  FaceEntry faces[4];
};

constexpr FamilyEntry kFamilies[] = {
    {"Times",
     "times|timesroman|timesnewroman|tmsrmn|nimbusroman|serif|roman",
     {{"Times-Roman", "NimbusRoman-Regular"},
      {"Times-Bold", "NimbusRoman-Bold"},
      {"Times-Italic", "NimbusRoman-Italic"},
      {"Times-BoldItalic", "NimbusRoman-BoldItalic"}}},
    {"Helvetica",
     "helvetica|helv|arial|nimbussans|sans|sansserif|swiss",
     {{"Helvetica", "NimbusSans-Regular"},
      {"Helvetica-Bold", "NimbusSans-Bold"},
      {"Helvetica-Oblique", "NimbusSans-Italic"},
      {"Helvetica-BoldOblique", "NimbusSans-BoldItalic"}}},
    {"Helvetica-Narrow",
     "helveticanarrow|arialnarrow|nimbussansnarrow",
     {{"Helvetica-Narrow", "NimbusSansNarrow-Regular"},
      {"Helvetica-Narrow-Bold", "NimbusSansNarrow-Bold"},
      {"Helvetica-Narrow-Oblique", "NimbusSansNarrow-Oblique"},
      {"Helvetica-Narrow-BoldOblique", "NimbusSansNarrow-BoldOblique"}}},
    {"Courier",
     "courier|couriernew|nimbusmonops|nimbusmono|monospace|mono|modern",
     {{"Courier", "NimbusMonoPS-Regular"},
      {"Courier-Bold", "NimbusMonoPS-Bold"},
      {"Courier-Oblique", "NimbusMonoPS-Italic"},
      {"Courier-BoldOblique", "NimbusMonoPS-BoldItalic"}}},
    {"AvantGarde",
     "avantgarde|itcavantgardegothic|avantgardegothic|urwgothic|urwgothicl",
     {{"AvantGarde-Book", "URWGothic-Book"},
      {"AvantGarde-Demi", "URWGothic-Demi"},
      {"AvantGarde-BookOblique", "URWGothic-BookOblique"},
      {"AvantGarde-DemiOblique", "URWGothic-DemiOblique"}}},
    {"Bookman",
     "bookman|itcbookman|bookmanoldstyle|urwbookman|urwbookmanl",
     {{"Bookman-Light", "URWBookman-Light"},
      {"Bookman-Demi", "URWBookman-Demi"},
      {"Bookman-LightItalic", "URWBookman-LightItalic"},
      {"Bookman-DemiItalic", "URWBookman-DemiItalic"}}},
    {"NewCenturySchlbk",
     "newcenturyschlbk|newcenturyschoolbook|centuryschoolbook|c059",
     {{"NewCenturySchlbk-Roman", "C059-Roman"},
      {"NewCenturySchlbk-Bold", "C059-Bold"},
      {"NewCenturySchlbk-Italic", "C059-Italic"},
      {"NewCenturySchlbk-BoldItalic", "C059-BdIta"}}},
    {"Palatino",
     "palatino|palatinolinotype|bookantiqua|p052",
     {{"Palatino-Roman", "P052-Roman"},
      {"Palatino-Bold", "P052-Bold"},
      {"Palatino-Italic", "P052-Italic"},
      {"Palatino-BoldItalic", "P052-BoldItalic"}}},
    {"ZapfChancery",
     "zapfchancery|itczapfchancery|z003",
     {{"ZapfChancery-MediumItalic", "Z003-MediumItalic"},
      {"ZapfChancery-MediumItalic", "Z003-MediumItalic"},
      {"ZapfChancery-MediumItalic", "Z003-MediumItalic"},
      {"ZapfChancery-MediumItalic", "Z003-MediumItalic"}}},
    {"ZapfDingbats",
     "zapfdingbats|itczapfdingbats|dingbats|d050000l",
     {{"ZapfDingbats", "D050000L"},
      {"ZapfDingbats", "D050000L"},
      {"ZapfDingbats", "D050000L"},
      {"ZapfDingbats", "D050000L"}}},
    {"Symbol",
     "symbol|standardsymbolsps|standardsymbols",
     {{"Symbol", "StandardSymbolsPS"},
      {"Symbol", "StandardSymbolsPS"},
      {"Symbol", "StandardSymbolsPS"},
      {"Symbol", "StandardSymbolsPS"}}},
    // The stand-in for every family we do not know, drawn with Helvetica's
    // faces as the desktop's system font is a plain sans serif.
    {"System",
     "system",
     {{"Helvetica", "NimbusSans-Regular"},
      {"Helvetica-Bold", "NimbusSans-Bold"},
      {"Helvetica-Oblique", "NimbusSans-Italic"},
      {"Helvetica-BoldOblique", "NimbusSans-BoldItalic"}}},
};

constexpr size_t kFamilyCount = sizeof kFamilies / sizeof kFamilies[0];
constexpr size_t kSystemFamily = kFamilyCount - 1;

constexpr const char* kDefaultFontDirectory = "/usr/share/fonts/type1/urw-base35";

struct FontLibrary {
  bool directorySet = false;
  std::string directory;
  std::unordered_map<std::string, std::unique_ptr<FaceMetrics>> faces;  // by file
  std::unordered_map<std::string, size_t> familyByName;                 // as asked for
  // The face of each family and style once looked up: measuring asks for
  // the same few fonts over and over.
  const FaceMetrics* faceOf[kFamilyCount][4] = {};
};

FontLibrary& Library() {
  static FontLibrary library;
  if (!library.directorySet) {
    const char* fromEnvironment = std::getenv("LEMMABOX_FONT_DIR");
    library.directory =
        fromEnvironment && *fromEnvironment ? fromEnvironment : kDefaultFontDirectory;
    library.directorySet = true;
  }
  return library;
}

std::string NormaliseFamily(std::string_view name) {
  std::string key;
  for (char c : name) {
    if (c == ' ' || c == '-' || c == '_' || c == '\t') continue;
    key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return key;
}

bool AliasListHas(std::string_view list, std::string_view key) {
  while (!list.empty()) {
    size_t bar = list.find('|');
    if (list.substr(0, bar) == key) return true;
    if (bar == std::string_view::npos) break;
    list.remove_prefix(bar + 1);
  }
  return false;
}

size_t FamilyIndex(const std::string& family) {
  FontLibrary& library = Library();
  auto found = library.familyByName.find(family);
  if (found != library.familyByName.end()) return found->second;
  std::string key = NormaliseFamily(family);
  size_t index = kSystemFamily;
  for (size_t i = 0; i < kFamilyCount; ++i) {
    if (AliasListHas(kFamilies[i].aliases, key)) {
      index = i;
      break;
    }
  }
  library.familyByName.emplace(family, index);
  return index;
}

std::string ReadFontFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) Raise(kMsgMissingImportantFile);
  std::string text;
  char buffer[16384];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    text.append(buffer, got);
    if (text.size() > (8u << 20)) break;  // no metrics file is this large
  }
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) Raise(kMsgMissingImportantFile);
  if (text.size() > (8u << 20)) Raise(kMsgCorruptData);
  return text;
}

const FaceMetrics& LoadFace(const FaceEntry& entry) {
  FontLibrary& library = Library();
  auto found = library.faces.find(entry.file);
  if (found != library.faces.end()) return *found->second;
  std::string path = library.directory + "/" + entry.file + ".afm";
  std::unique_ptr<FaceMetrics> face = ParseAfm(ReadFontFile(path));
  face->postScriptName = entry.postScriptName;
  const FaceMetrics& result = *face;
  library.faces.emplace(entry.file, std::move(face));
  return result;
}

}  // namespace

ResolvedFont ResolveFont(const PortFont& font) {
  const size_t familyIndex = FamilyIndex(font.family);
  const FamilyEntry& family = kFamilies[familyIndex];
  const int style = (font.bold ? 1 : 0) + (font.italic ? 2 : 0);
  const FaceMetrics*& face = Library().faceOf[familyIndex][style];
  if (!face) face = &LoadFace(family.faces[style]);
  ResolvedFont resolved;
  resolved.face = face;
  resolved.family = family.name;
  resolved.syntheticBold = font.bold && !resolved.face->bold;
  resolved.syntheticItalic = font.italic && !resolved.face->italic;
  return resolved;
}

std::vector<std::string> FontFamilyNames() {
  std::vector<std::string> names;
  for (size_t i = 0; i < kSystemFamily; ++i) names.emplace_back(kFamilies[i].name);
  return names;
}

FontExtents MeasureFontExtents(const PortFont& font) {
  const FaceMetrics& face = *ResolveFont(font).face;
  FontExtents extents;
  extents.ascent = ScaleFontUnits(face.ascent, font.size);
  extents.descent = ScaleFontUnits(face.descent, font.size);
  extents.capHeight = ScaleFontUnits(face.capHeight, font.size);
  extents.xHeight = ScaleFontUnits(face.xHeight, font.size);
  return extents;
}

int32_t TextWidth(std::string_view text, const PortFont& font) {
  const FaceMetrics& face = *ResolveFont(font).face;
  int64_t total = 0;
  for (char c : text) {
    int32_t index = face.byteGlyph[static_cast<uint8_t>(c)];
    if (index >= 0) total += face.glyphs[index].width;
  }
  return ScaleFontUnits(total, font.size);
}

Rect TextInkBox(std::string_view text, const PortFont& font) {
  ResolvedFont resolved = ResolveFont(font);
  const FaceMetrics& face = *resolved.face;
  // Imitated emphasis widens the ink as drawing does: a slant of a quarter
  // and a second impression a 24th of the em to the right.
  const int32_t slantDivisor = 4;
  const int32_t boldShift = resolved.syntheticBold ? 1000 / 24 : 0;
  bool any = false;
  int64_t left = 0, right = 0, top = 0, bottom = 0;
  int64_t x = 0;
  for (char c : text) {
    int32_t index = face.byteGlyph[static_cast<uint8_t>(c)];
    if (index < 0) continue;
    const GlyphMetrics& glyph = face.glyphs[index];
    if (!glyph.box.IsEmpty()) {
      int64_t glyphLeft = x + glyph.box.left;
      int64_t glyphRight = x + glyph.box.right + boldShift;
      if (resolved.syntheticItalic) {
        glyphLeft += std::min<int64_t>(glyph.box.bottom, 0) / slantDivisor;
        glyphRight += std::max<int64_t>(glyph.box.top, 0) / slantDivisor;
      }
      left = any ? std::min(left, glyphLeft) : glyphLeft;
      right = any ? std::max(right, glyphRight) : glyphRight;
      top = any ? std::max<int64_t>(top, glyph.box.top) : glyph.box.top;
      bottom = any ? std::min<int64_t>(bottom, glyph.box.bottom) : glyph.box.bottom;
      any = true;
    }
    x += glyph.width;
  }
  if (!any) return Rect{};
  return Rect{ScaleFontUnits(left, font.size), -ScaleFontUnits(top, font.size),
              ScaleFontUnits(right, font.size), -ScaleFontUnits(bottom, font.size)};
}

void LoadStartupFonts() {
  for (bool italic : {false, true}) {
    ResolveFont(PortFont{"Times", 12, false, italic});
    ResolveFont(PortFont{"Times", 12, true, italic});
  }
  ResolveFont(PortFont{"Symbol", 12});
}

void SetFontDirectory(const std::string& directory) {
  FontLibrary& library = Library();
  library.directory = directory;
  library.faces.clear();
  for (auto& styles : library.faceOf) {
    for (const FaceMetrics*& face : styles) face = nullptr;
  }
}

std::string FontDirectory() {
  return Library().directory;
}

}  // namespace lemmabox
