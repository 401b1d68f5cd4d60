#include "ports/postscript_port.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <exception>

#include "ports/font_metrics.h"
#include "shell/failure.h"
#include "shell/interrupt.h"
#include "shell/string_cache.h"
#include "shell/strings.h"

namespace lemmabox {

// Output lines are kept below this many characters (DSC asks for 255 at most).
constexpr size_t kLineLimit = 200;
// A path is stroked and begun afresh after this many segments: interpreters
// limit the size of a path.
constexpr int32_t kMaxPathSegments = 300;
// The code at which a re-encoded font carries the one glyph it is made for.
constexpr int kReencodeCode = 200;

struct PostScriptPort::Output {
  OutputSink* sink = nullptr;
  PostScriptOptions options;
  Rect zone;
  size_t column = 0;
  bool closed = false;

  // Once-only procedures defined so far.
  bool grey = false;
  bool rgb = false;
  bool solid = false;
  bool dashes = false;
  bool width = false;
  bool path = false;
  bool circle = false;
  bool horn = false;
  bool text = false;

  // The graphics state as the output last set it (unset: not known).
  std::optional<RgbColor> color;
  std::optional<int32_t> lineWidth;
  std::optional<LinePattern> pattern;

  bool lineOpen = false;
  bool pathHasPoint = false;
  int32_t segments = 0;

  std::vector<std::string> fonts;
  std::unordered_map<const FaceMetrics*, std::array<int16_t, 256>> directCodes;
};

std::string PostScriptCommentText(std::string_view text) {
  std::string safe(text.substr(0, 200));
  for (char& c : safe) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return safe;
}

std::string PostScriptCreatorLine(const std::string& programName, const std::string& version) {
  std::string name = programName;
  if (name.empty()) name = ProgramName();
  std::string line = "%%Creator: " + name + " (R) ";
  std::string versionText = version;
  if (versionText.empty() && StringById(kStrVersion)) versionText = StringById(kStrVersion);
  if (!versionText.empty()) line += "version " + versionText;
  return PostScriptCommentText(line);
}

std::string PostScriptDateText() {
  std::time_t now = std::time(nullptr);
  char text[64] = "";
  if (const std::tm* local = std::localtime(&now)) {
    std::strftime(text, sizeof text, "%a %b %d %H:%M:%S %Y", local);
  }
  return text;
}

namespace {

std::string DecimalText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  std::string result = text;
  while (!result.empty() && result.back() == '0') result.pop_back();
  if (!result.empty() && result.back() == '.') result.pop_back();
  if (result == "-0") result = "0";
  return result + " ";
}

std::string MatrixNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value == 0 ? 0.0 : value);
  return text;
}

// Ceiling of value * 72 / resolution, for bounding boxes in points.
int32_t PointsUp(int32_t value, int32_t resolution) {
  int64_t product = static_cast<int64_t>(std::max(value, 0)) * 72;
  return static_cast<int32_t>((product + resolution - 1) / resolution);
}

}  // namespace

// ---------------------------------------------------------------------------
// Creation, prolog and trailer.

PostScriptPort::PostScriptPort(OutputSink& sink, const Rect& zone, const PostScriptOptions& options)
    : GraphicsPort(options.resolution > 0 ? options.resolution : 72),
      out_(std::make_shared<Output>()) {
  out_->sink = &sink;
  out_->options = options;
  out_->options.resolution = resolution();
  out_->zone = zone;
  flipped_ = options.flipped;
  height_ = zone.Height();
  clip_ = zone;
  WriteProlog();
}

PostScriptPort::~PostScriptPort() {
  if (!owner_ || out_->closed || std::uncaught_exceptions() > 0) return;
  try {
    close();
  } catch (...) {
    // A destructor cannot report; callers that care call close() themselves.
  }
}

std::unique_ptr<GraphicsPort> PostScriptPort::clone() const {
  auto copy = std::unique_ptr<PostScriptPort>(new PostScriptPort(*this));
  copy->owner_ = false;
  return copy;
}

int32_t PostScriptPort::boundingWidth() const {
  const Rect& zone = out_->zone;
  return PointsUp(out_->options.landscape ? zone.Height() : zone.Width(), resolution());
}

int32_t PostScriptPort::boundingHeight() const {
  const Rect& zone = out_->zone;
  return PointsUp(out_->options.landscape ? zone.Width() : zone.Height(), resolution());
}

const std::vector<std::string>& PostScriptPort::documentFonts() const {
  return out_->fonts;
}

void PostScriptPort::WriteProlog() {
  const PostScriptOptions& options = out_->options;
  if (options.eps) {
    EmitLine("%!PS-Adobe-2.0 EPSF-1.2");
    EmitLine(PostScriptCreatorLine(options.programName, options.version));
    EmitLine("%%Title:" + PostScriptCommentText(options.title));
    EmitLine("%%CreationDate:" + PostScriptCommentText(options.creationDate.empty()
                                                           ? PostScriptDateText()
                                                           : options.creationDate));
    EmitLine("%%Pages 0");
    // The fonts are known only once the picture is drawn.
    EmitLine("%%DocumentFonts: (atend)");
    EmitLine("%%BoundingBox:0 0 " + std::to_string(boundingWidth()) + " " +
             std::to_string(boundingHeight()));
    EmitLine("%%EndComments");
    EmitLine("save");
  }
  EmitLine("1 setlinecap 0 setlinejoin  2 setmiterlimit");
  EmitLine(
      "6 array currentmatrix aload pop pop pop abs exch abs add exch abs add exch abs add 2 exch "
      "div /onepx exch def");

  // Port units to points, with the page's y growing upwards: either the
  // matrix turns y over (and fonts are turned back by their matrix), or the
  // port writes height - y itself.
  const double s = 72.0 / resolution();
  const double h = height_ * s;
  using Matrix = std::array<double, 6>;
  const Matrix m = !options.landscape
                       ? (flipped_ ? Matrix{s, 0, 0, s, 0, 0} : Matrix{s, 0, 0, -s, 0, h})
                       : (flipped_ ? Matrix{0, s, -s, 0, h, 0} : Matrix{0, s, s, 0, 0, 0});
  std::string concat = "[ ";
  for (double value : m) concat += MatrixNumber(value) + " ";
  EmitLine(concat + "] concat");
  if (options.eps) EmitLine("%%EndProlog");
  const Rect& zone = out_->zone;
  EmitLine(Number(-zone.left) + Number(flipped_ ? zone.top : -zone.top) + " translate");
  EmitLine("gsave ");
}

void PostScriptPort::close() {
  if (!owner_ || out_->closed) return;
  FlushOpenPath();
  out_->lineOpen = false;
  if (out_->column > 0) Emit("\n");
  EmitLine("grestore");
  if (out_->options.eps) {
    EmitLine("%%Trailer");
    std::string fonts = "%%DocumentFonts:";
    for (const std::string& font : out_->fonts) fonts += " " + font;
    EmitLine(fonts);
    EmitLine("restore");
    EmitLine("%%EOF");
  }
  out_->closed = true;
}

// ---------------------------------------------------------------------------
// Writing.

void PostScriptPort::Emit(std::string_view piece) {
  if (piece.empty()) return;
  Output& out = *out_;
  if (out.column > 0 && out.column + piece.size() > kLineLimit && piece.front() != '\n') {
    out.sink->Write("\n");
    out.column = 0;
  }
  out.sink->Write(piece);
  size_t newline = piece.rfind('\n');
  out.column =
      newline == std::string_view::npos ? out.column + piece.size() : piece.size() - newline - 1;
  CheckInterrupt();
}

void PostScriptPort::EmitLine(std::string_view piece) {
  Emit(piece);
  Emit("\n");
}

void PostScriptPort::Define(bool& done, std::string_view definition) {
  if (done) return;
  if (out_->column > 0) Emit("\n");
  EmitLine(definition);
  done = true;
}

std::string PostScriptPort::Number(int32_t value) const {
  return std::to_string(value) + " ";
}

std::string PostScriptPort::PointText(int32_t x, int32_t y) const {
  return Number(x) + Number(WrittenY(y));
}

void PostScriptPort::UseColor(RgbColor color) {
  Output& out = *out_;
  if (out.color && *out.color == color) return;
  if (color.IsGrey()) {
    Define(out.grey, "/G { 255 div setgray} bind def");
    Emit(Number(color.red) + "G ");
  } else {
    Define(out.rgb,
           "/C { 3 2 roll 255 div 3 1 roll 255 div exch 255 div exch setrgbcolor} bind def");
    Emit(Number(color.red) + Number(color.green) + Number(color.blue) + "C ");
  }
  out.color = color;
}

void PostScriptPort::setColors(RgbColor foreground, RgbColor background) {
  foreground_ = foreground;
  background_ = background;
}

// ---------------------------------------------------------------------------
// Lines.

void PostScriptPort::DefinePathProcedures() {
  Output& out = *out_;
  if (out.path) return;
  // Points move by half the pen so that a line covers the pixels it covers
  // on the screen, where the pen hangs right of and below its point.
  const char* down = flipped_ ? "sub" : "add";
  Define(out.path, "/S /stroke load def");
  EmitLine(std::string("/M {currentlinewidth .5 mul ") + down +
           " exch currentlinewidth .5 mul add exch moveto} bind def");
  EmitLine(std::string("/L {currentlinewidth .5 mul ") + down +
           " exch currentlinewidth .5 mul add exch lineto} bind def");
}

void PostScriptPort::FlushOpenPath() {
  Output& out = *out_;
  if (out.lineOpen && out.pathHasPoint) {
    Emit("S ");
    out.pathHasPoint = false;
    out.segments = 1;
  }
}

void PostScriptPort::WritePen(int32_t width, RgbColor color, LinePattern pattern) {
  Output& out = *out_;
  if (!out.lineWidth || *out.lineWidth != width) {
    Define(out.width, "/Lw {onepx sub setlinewidth} bind def");
    Emit(Number(width) + "Lw ");
    out.lineWidth = width;
  }
  UseColor(color);
  if (!out.pattern || *out.pattern != pattern) {
    if (pattern == LinePattern::kSolid) {
      Define(out.solid, "/Ls { [] 0 setdash} bind def");
      Emit("Ls ");
    } else {
      int32_t u = std::max(resolution() / 32, 1);
      Define(out.dashes, "/Ldt { [" + std::to_string(u) + " " + std::to_string(3 * u) +
                             "] 0 setdash} bind def /Lds { [" + std::to_string(6 * u) +
                             "] 0 setdash} bind def");
      Emit(pattern == LinePattern::kDotted ? "Ldt " : "Lds ");
    }
    out.pattern = pattern;
  }
}

// Text, fills and clipping in the middle of a line change the colour, width
// or dashes; the line's next segment puts its own back.
void PostScriptPort::RestorePen() {
  WritePen(lineWidth_, penColor_, pattern_);
}

void PostScriptPort::startDeluxeLine(int32_t width, RgbColor color, LinePattern pattern,
                                     DrawMode mode) {
  Output& out = *out_;
  // A line still open is finished with its own pen first.
  FlushOpenPath();
  WritePen(width, color, pattern);
  // PostScript paints; an inverting pen prints like a normal one.
  penColor_ = color;
  lineWidth_ = width;
  pattern_ = pattern;
  drawMode_ = mode;
  out.lineOpen = true;
  out.pathHasPoint = false;
  out.segments = 1;
}

void PostScriptPort::moveTo(int32_t x, int32_t y) {
  Output& out = *out_;
  if (!out.lineOpen) InternalError("PS moveTo");
  DefinePathProcedures();
  RestorePen();
  Emit(PointText(x, y) + "M ");
  out.pathHasPoint = true;
  current_ = Point{x, y};
}

void PostScriptPort::move(int32_t dx, int32_t dy) {
  moveTo(current_.x + dx, current_.y + dy);
}

void PostScriptPort::CountSegment(int32_t x, int32_t y) {
  Output& out = *out_;
  if (++out.segments > kMaxPathSegments) {
    Emit("S " + PointText(x, y) + "M ");
    out.segments = 1;
  }
}

void PostScriptPort::lineTo(int32_t x, int32_t y) {
  Output& out = *out_;
  if (!out.lineOpen) InternalError("PS lineTo");
  DefinePathProcedures();
  RestorePen();
  // After a stroke the path has no current point; the line goes on from the
  // port's.
  if (!out.pathHasPoint) {
    Emit(PointText(current_.x, current_.y) + "M ");
    out.pathHasPoint = true;
  }
  Emit(PointText(x, y) + "L ");
  current_ = Point{x, y};
  CountSegment(x, y);
}

void PostScriptPort::line(int32_t dx, int32_t dy) {
  lineTo(current_.x + dx, current_.y + dy);
}

void PostScriptPort::dotAt(int32_t x, int32_t y) {
  moveTo(x, y);
  // A tenth of a unit to the right: with round caps, a dot of the pen's size.
  std::string dotX = x >= 0 ? std::to_string(x) + ".1 " : "-" + std::to_string(-x - 1) + ".9 ";
  Emit(dotX + Number(WrittenY(y)) + "L ");
  CountSegment(x, y);
}

void PostScriptPort::endLine() {
  Output& out = *out_;
  if (!out.lineOpen) return;
  Emit("S\n");
  out.lineOpen = false;
  out.pathHasPoint = false;
}

// ---------------------------------------------------------------------------
// Zones and shapes.

void PostScriptPort::WriteZonePath(const Rect& zone, std::string_view last) {
  Emit(PointText(zone.left, zone.top) + "moveto ");
  Emit(PointText(zone.right, zone.top) + "lineto ");
  Emit(PointText(zone.right, zone.bottom) + "lineto ");
  Emit(PointText(zone.left, zone.bottom) + std::string(last));
}

void PostScriptPort::paintZone(const Rect& zone) {
  FlushOpenPath();
  UseColor(foreground_);
  WriteZonePath(zone, "lineto closepath fill\n");
}

void PostScriptPort::eraseZone(const Rect& zone) {
  FlushOpenPath();
  UseColor(background_);
  WriteZonePath(zone, "lineto closepath fill\n");
}

void PostScriptPort::WritePolygonPath(std::span<const Point> polygon) {
  Emit(PointText(polygon[0].x, polygon[0].y) + "moveto ");
  for (size_t i = 1; i < polygon.size(); ++i) {
    Emit(PointText(polygon[i].x, polygon[i].y) + "lineto ");
  }
}

void PostScriptPort::FillPolygon(std::span<const Point> polygon, RgbColor color) {
  if (polygon.size() < 3) return;  // no area
  FlushOpenPath();
  UseColor(color);
  Emit("gsave ");
  WritePolygonPath(polygon);
  Emit("closepath fill grestore\n");
}

void PostScriptPort::paintPolygon(std::span<const Point> polygon) {
  FillPolygon(polygon, foreground_);
}

void PostScriptPort::eraseArea(std::span<const Point> polygon) {
  FillPolygon(polygon, background_);
}

void PostScriptPort::frameZone(const Rect& zone) {
  if (zone.Width() <= 0 || zone.Height() <= 0) return;
  FlushOpenPath();
  UseColor(foreground_);
  // A border one pixel wide inside the zone, as the screen draws it.
  const int32_t t = unit();
  if (zone.Width() <= 2 * t || zone.Height() <= 2 * t) {
    WriteZonePath(zone, "lineto closepath fill\n");
    return;
  }
  WriteZonePath(zone, "lineto closepath ");
  Rect inner{zone.left + t, zone.top + t, zone.right - t, zone.bottom - t};
  WriteZonePath(inner, "lineto closepath eofill\n");
}

void PostScriptPort::paintCircle(const Rect& square) {
  if (square.Width() != square.Height()) InternalError("paintCircle not square");
  FlushOpenPath();
  UseColor(foreground_);
  Define(out_->circle,
         "/R {newpath onepx sub .5 mul exch 1 index add 3 1 roll exch 1 index add 3 1 roll 0 "
         "360 arc fill} bind def");
  // R takes the corner nearest the user space's origin.
  Emit(Number(square.left) + Number(WrittenY(flipped_ ? square.bottom : square.top)) +
       Number(square.Width()) + "R\n");
}

void PostScriptPort::paintHorn(const Horn& horn) {
  FlushOpenPath();
  UseColor(foreground_);
  Define(out_->horn, "/H {newpath moveto 2 copy curveto 2 copy curveto fill} bind def");
  Emit(PointText(horn.control2.x, horn.control2.y) + PointText(horn.end.x, horn.end.y) +
       PointText(horn.control1.x, horn.control1.y) + PointText(horn.tip.x, horn.tip.y) +
       PointText(horn.start.x, horn.start.y) + "H\n");
}

void PostScriptPort::integralSign(const Rect& zone, int32_t thickness) {
  if (zone.Width() <= 0 || zone.Height() <= 0) return;
  FlushOpenPath();
  UseColor(foreground_);
  thickness = std::max(thickness, 1);
  // One stroke with round ends: a hook curling down at the top right, a
  // slightly leaning stem, and the same hook turned over at the bottom left.
  // The shape is given in fractions of the zone inside half the pen.
  static constexpr double kShape[13][2] = {{1.00, 0.10},  {1.00, 0.00}, {0.75, 0.00}, {0.62, 0.10},
                                           {0.55, 0.154}, {0.52, 0.35}, {0.50, 0.50}, {0.48, 0.65},
                                           {0.45, 0.846}, {0.38, 0.90}, {0.25, 1.00}, {0.00, 1.00},
                                           {0.00, 0.90}};
  const double half = thickness / 2.0;
  const double left = zone.left + half;
  const double width = std::max(zone.Width() - 2 * half, 0.0);
  const double top = zone.top + half;
  const double height = std::max(zone.Height() - 2 * half, 0.0);
  auto point = [&](int i) {
    double x = left + kShape[i][0] * width;
    double y = top + kShape[i][1] * height;
    return DecimalText(x) + DecimalText(flipped_ ? height_ - y : y);
  };
  Emit("gsave " + Number(thickness) + "setlinewidth newpath " + point(0) + "moveto ");
  for (int i = 1; i < 13; i += 3) {
    Emit(point(i) + point(i + 1) + point(i + 2) + "curveto ");
  }
  Emit("stroke grestore\n");
}

void PostScriptPort::clipToZone(const Rect& zone) {
  FlushOpenPath();
  Emit("grestore gsave ");
  WriteZonePath(zone, "lineto clip newpath\n");
  // grestore took back the colour, pen and dashes set since the prolog.
  out_->color.reset();
  out_->lineWidth.reset();
  out_->pattern.reset();
  clip_ = zone;
}

// ---------------------------------------------------------------------------
// Text.

void PostScriptPort::DefineTextProcedures() {
  Output& out = *out_;
  if (out.text) return;
  Define(out.text,
         "/T {/fsize exch def /funder exch 0 ne def /fital exch fsize mul 4 div def /fbold exch 0 "
         "ne def");
  // In a user space turned upside down the glyphs are turned back by their
  // matrix, and the underline goes down by going up.
  EmitLine(std::string("/fmat [ fsize 0 fital fsize ") + (flipped_ ? "" : "neg ") +
           "0 0 ] def findfont fmat makefont setfont moveto} bind def");
  EmitLine(std::string("/t {funder {currentpoint 0 fsize 12 div ") + (flipped_ ? "neg " : "") +
           "rmoveto 2 index stringwidth rlineto fsize 24 div setlinewidth stroke moveto} if");
  EmitLine("fbold {currentpoint fsize 24 div 0 rmoveto 2 index show moveto} if show} bind def");
  EmitLine("/ts {currentfont exch /Symbol findfont fmat makefont setfont show setfont} bind def");
}

void PostScriptPort::NoteFont(const std::string& name) {
  for (const std::string& font : out_->fonts) {
    if (font == name) return;
  }
  out_->fonts.push_back(name);
}

// For each byte of text, the code that shows its glyph with the font's own
// encoding, -1 when the font has no such glyph, -2 when the glyph is in the
// font but not in its encoding (it is shown through a re-encoded copy).
const std::array<int16_t, 256>& PostScriptPort::DirectCodes(const FaceMetrics& face) {
  auto found = out_->directCodes.find(&face);
  if (found != out_->directCodes.end()) return found->second;
  std::array<int16_t, 256> codes;
  for (int byte = 0; byte < 256; ++byte) {
    int32_t glyph = face.byteGlyph[byte];
    if (glyph < 0) {
      codes[byte] = -1;
    } else if (face.encoding[byte] == glyph) {
      codes[byte] = static_cast<int16_t>(byte);
    } else {
      codes[byte] = -2;
      for (int code = 0; code < 256; ++code) {
        if (face.encoding[code] == glyph) {
          codes[byte] = static_cast<int16_t>(code);
          break;
        }
      }
    }
  }
  return out_->directCodes.emplace(&face, codes).first->second;
}

namespace {

// A PostScript string literal of bytes. Long strings continue on the next
// line with a backslash-newline, which the string does not contain.
std::vector<std::string> StringPieces(const std::string& bytes) {
  std::vector<std::string> pieces;
  std::string piece = "(";
  for (unsigned char c : bytes) {
    if (piece.size() > kLineLimit / 2) {
      pieces.push_back(piece + "\\\n");
      piece.clear();
    }
    if (c == '(' || c == ')' || c == '\\') {
      piece += '\\';
      piece += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      char octal[8];
      std::snprintf(octal, sizeof octal, "\\%03o", c);
      piece += octal;
    } else {
      piece += static_cast<char>(c);
    }
  }
  pieces.push_back(piece);
  return pieces;
}

}  // namespace

void PostScriptPort::WriteText(std::string_view text, const PortFont& font, uint8_t style,
                               const std::string& position) {
  ResolvedFont resolved = ResolveFont(font);
  const FaceMetrics& face = *resolved.face;
  FlushOpenPath();
  DefineTextProcedures();
  UseColor(foreground_);
  const bool bold = (style & TextStyle::kBold) || resolved.syntheticBold;
  const bool italic = (style & TextStyle::kItalic) || resolved.syntheticItalic;
  const bool underline = (style & TextStyle::kUnderline) != 0;
  Output& out = *out_;
  if (underline && out.pattern != LinePattern::kSolid) {
    Define(out.solid, "/Ls { [] 0 setdash} bind def");
    Emit("Ls ");
    out.pattern = LinePattern::kSolid;
  }
  NoteFont(face.postScriptName);
  Emit(position + "/" + face.postScriptName + " " + Number(bold) + Number(italic) +
       Number(underline) + Number(font.size) + "T ");

  auto show = [&](const std::string& bytes, const char* procedure) {
    std::vector<std::string> pieces = StringPieces(bytes);
    for (size_t i = 0; i + 1 < pieces.size(); ++i) Emit(pieces[i]);
    Emit(pieces.back() + ") " + procedure + " ");
  };

  if (face.fontSpecific) {
    std::string bytes;
    for (char c : text) {
      if (face.byteGlyph[static_cast<uint8_t>(c)] >= 0) bytes += c;
    }
    // The Symbol font's codes go through ts, which keeps the text font as
    // the current one.
    show(bytes, face.postScriptName == "Symbol" ? "ts" : "t");
  } else {
    const std::array<int16_t, 256>& codes = DirectCodes(face);
    std::string run;
    for (char c : text) {
      int16_t code = codes[static_cast<uint8_t>(c)];
      if (code >= 0) {
        run += static_cast<char>(code);
        continue;
      }
      if (code == -1) continue;  // the font has nothing to show for it
      if (!run.empty()) show(run, "t");
      run.clear();
      // The glyph exists but the font's encoding lacks it: a copy of the
      // font carries it at one spare code.
      const std::string& glyph = face.glyphs[face.byteGlyph[static_cast<uint8_t>(c)]].name;
      if (out.column > 0) Emit("\n");
      EmitLine("currentfont dup length dict /over_fdic exch def");
      EmitLine("{1 index /FID ne {over_fdic 3 1 roll put} {pop pop} ifelse } forall");
      EmitLine("/over_enc 256 array def over_fdic /Encoding get over_enc copy");
      EmitLine(std::to_string(kReencodeCode) + " /" + glyph + " put");
      EmitLine("over_fdic /Encoding over_enc put /over_font over_fdic definefont");
      EmitLine("currentfont exch setfont (\\310) t setfont");
    }
    if (!run.empty()) show(run, "t");
  }
  // The underline's stroke changed the line width.
  if (underline) out.lineWidth.reset();
}

void PostScriptPort::drawDeluxeString(std::string_view text, const PortFont& font, uint8_t style,
                                      int32_t x, int32_t y, TextMode mode) {
  if (mode == TextMode::kCopy) InternalError("pCopy mode not supported for PS text");
  if (text.empty()) return;
  WriteText(text, font, style, PointText(x, y));
  current_ = Point{x, y};
}

void PostScriptPort::drawRotatedString(std::string_view text, const PortFont& font, uint8_t style,
                                       int32_t x, int32_t y) {
  if (text.empty()) return;
  FlushOpenPath();
  UseColor(foreground_);
  // Upwards is a negative turn in a user space that is upside down.
  Emit("gsave " + PointText(x, y) + "translate " + (flipped_ ? "90" : "-90") + " rotate ");
  WriteText(text, font, style, "0 0 ");
  Emit("grestore\n");
  // What the text set inside was taken back by grestore.
  out_->lineWidth.reset();
  out_->pattern.reset();
}

// ---------------------------------------------------------------------------
// Pixels and images.

SavedPixels PostScriptPort::savePix(const Rect&) {
  InternalError("pPostScriptPort::savePix");
}

void PostScriptPort::WriteImage(const PortImage& image, const Rect& zone, RgbColor maskColor) {
  if (zone.Width() <= 0 || zone.Height() <= 0) return;
  const bool mask = image.kind == PortImage::Kind::kMask;
  FlushOpenPath();
  if (mask) UseColor(maskColor);
  const int32_t rowBytes = image.RowBytes();
  Emit("gsave /picstr " + std::to_string(rowBytes) + " string def\n");
  Emit(PointText(zone.left, zone.top) + "translate ");
  // The matrix takes the zone to the image's pixels, top row first.
  std::string matrix;
  if (zone.Width() == image.width && zone.Height() == image.height) {
    matrix = std::string("[1 0 0 ") + (flipped_ ? "-1" : "1") + " 0 0] ";
  } else {
    matrix = "[" + Number(image.width) + Number(zone.Width()) + "div 0 0 " + Number(image.height) +
             Number(flipped_ ? -zone.Height() : zone.Height()) + "div 0 0] ";
  }
  const std::string source = "{currentfile picstr readhexstring pop} ";
  if (mask) {
    Emit(Number(image.width) + Number(image.height) + "true " + matrix + source + "imagemask\n");
  } else {
    Emit(Number(image.width) + Number(image.height) + "8 " + matrix + source +
         "false 3 colorimage\n");
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hexLine;
  for (size_t i = 0; i < image.data.size(); ++i) {
    hexLine += kHex[image.data[i] >> 4];
    hexLine += kHex[image.data[i] & 15];
    if (hexLine.size() == 64 || i + 1 == image.data.size()) {
      EmitLine(hexLine);
      hexLine.clear();
    }
  }
  Emit("grestore\n");
}

namespace {

// An image reduced to its ink: every pixel that is not white.
PortImage InkMask(const PortImage& image) {
  if (image.kind == PortImage::Kind::kMask) return image;
  PortImage mask;
  mask.kind = PortImage::Kind::kMask;
  mask.width = image.width;
  mask.height = image.height;
  mask.data.assign(static_cast<size_t>(mask.RowBytes()) * mask.height, 0);
  for (int32_t y = 0; y < image.height; ++y) {
    for (int32_t x = 0; x < image.width; ++x) {
      const uint8_t* pixel = &image.data[(static_cast<size_t>(y) * image.width + x) * 3];
      if (pixel[0] != 255 || pixel[1] != 255 || pixel[2] != 255) {
        mask.data[static_cast<size_t>(y) * mask.RowBytes() + x / 8] |= 0x80 >> (x % 8);
      }
    }
  }
  return mask;
}

bool IsEmptyImage(const PortImage& image) {
  return image.data.empty() && (image.width == 0 || image.height == 0);
}

}  // namespace

void PostScriptPort::restorePix(const SavedPixels& pixels) {
  if (IsEmptyImage(pixels.image)) return;
  if (!pixels.image.IsWellFormed()) InternalError("pPostScriptPort::restorePix");
  const Rect& zone = pixels.zone;
  WriteImage(
      pixels.image,
      Rect{zone.left, zone.top, zone.left + pixels.image.width, zone.top + pixels.image.height},
      foreground_);
}

void PostScriptPort::restoreStretch(const SavedPixels& pixels, const Rect& zone) {
  if (IsEmptyImage(pixels.image)) return;
  if (!pixels.image.IsWellFormed()) InternalError("pPostScriptPort::restoreStretch");
  WriteImage(pixels.image, zone, foreground_);
}

void PostScriptPort::restoreColorize(const SavedPixels& pixels, RgbColor color) {
  if (IsEmptyImage(pixels.image)) return;
  if (!pixels.image.IsWellFormed()) InternalError("pPostScriptPort::restoreColorize");
  const Rect& zone = pixels.zone;
  WriteImage(
      InkMask(pixels.image),
      Rect{zone.left, zone.top, zone.left + pixels.image.width, zone.top + pixels.image.height},
      color);
}

void PostScriptPort::drawImage(const PortImage& image, int32_t x, int32_t y) {
  if (!image.IsWellFormed()) InternalError("PS::drawImage");
  WriteImage(image, Rect{x, y, x + image.width, y + image.height}, foreground_);
}

void PostScriptPort::stretchImage(const PortImage& image, const Rect& zone) {
  if (!image.IsWellFormed()) InternalError("pPostScriptPort::stretchImage");
  WriteImage(image, zone, foreground_);
}

}  // namespace lemmabox
