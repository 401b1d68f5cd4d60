// The PostScript port: draws into PostScript text, for EPS files and for
// printing to PostScript.
//
// Creating the port writes its prolog; close() (or destroying the port)
// writes the trailer. Port coordinates are the usual ones, y downwards, in
// units of 1/resolution inch; the port maps its zone onto the page. The small
// procedures the drawing uses (G, C, Lw, M, L, R, H, T, t, ...) are defined
// the first time something needs them, once per port, so a file carries only
// what it uses and every page stands on its own.
//
// Misuse raises internal errors: "PS moveTo" and "PS lineTo" outside a
// started line, "paintCircle not square", "pCopy mode not supported for PS
// text", "pPostScriptPort::savePix" (a page cannot be read back), and for
// images whose data does not fit their size "PS::drawImage",
// "pPostScriptPort::stretchImage" and "pPostScriptPort::restorePix" (and
// restoreStretch, restoreColorize). Write failures are the sink's; the
// interrupt check runs after every piece written, so Escape cancels a long
// export.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ports/output_sink.h"
#include "ports/port.h"

namespace lemmabox {

struct FaceMetrics;

struct PostScriptOptions {
  // An encapsulated file (header comments, bounding box, save/restore)
  // rather than one page of a PostScript document.
  bool eps = true;
  // Writes y as height - y into an upward-growing user space instead of
  // turning the user space upside down.
  bool flipped = false;
  // Turns the picture a quarter turn, its top to the left edge of the page.
  bool landscape = false;
  // Port units per inch; 72 makes one unit one point.
  int32_t resolution = 72;
  std::string title = "Untitled";
  // Empty: the current date and time.
  std::string creationDate;
  // Empty: the program's name and version from the string table.
  std::string programName;
  std::string version;
};

// The header lines both kinds of output share: "%%Creator: <name> (R) version
// <version>" (the string table's name and version when none are given) and
// the current date and time.
std::string PostScriptCreatorLine(const std::string& programName, const std::string& version);
// Text for a header comment: one line (control characters become blanks, so
// a title cannot end the comment and slip PostScript in), at most 200 bytes.
std::string PostScriptCommentText(std::string_view text);
std::string PostScriptDateText();

class PostScriptPort : public GraphicsPort {
 public:
  // Writes the prolog for a picture of the zone (port coordinates).
  PostScriptPort(OutputSink& sink, const Rect& zone, const PostScriptOptions& options);
  // Writes the trailer when close() has not run (and nothing is unwinding).
  ~PostScriptPort() override;

  // Ends the picture: closes an open line and writes the trailer. Only the
  // port that was created writes it; clones share its output.
  void close();

  // The PostScript names of the fonts drawn so far, in order of first use.
  const std::vector<std::string>& documentFonts() const;
  // The %%BoundingBox numbers: the zone's size in points.
  int32_t boundingWidth() const;
  int32_t boundingHeight() const;

  std::unique_ptr<GraphicsPort> clone() const override;
  void unsetPort() override {}
  void setPort() override {}
  void drawDeluxeString(std::string_view text, const PortFont& font, uint8_t style, int32_t x,
                        int32_t y, TextMode mode) override;
  void drawRotatedString(std::string_view text, const PortFont& font, uint8_t style, int32_t x,
                         int32_t y) override;
  void startDeluxeLine(int32_t width, RgbColor color, LinePattern pattern, DrawMode mode) override;
  void moveTo(int32_t x, int32_t y) override;
  void move(int32_t dx, int32_t dy) override;
  void lineTo(int32_t x, int32_t y) override;
  void line(int32_t dx, int32_t dy) override;
  void dotAt(int32_t x, int32_t y) override;
  void endLine() override;
  void paintZone(const Rect& zone) override;
  void eraseZone(const Rect& zone) override;
  void eraseArea(std::span<const Point> polygon) override;
  void paintPolygon(std::span<const Point> polygon) override;
  void frameZone(const Rect& zone) override;
  void paintCircle(const Rect& square) override;
  void integralSign(const Rect& zone, int32_t thickness) override;
  void paintHorn(const Horn& horn) override;
  SavedPixels savePix(const Rect& zone) override;
  void restorePix(const SavedPixels& pixels) override;
  void restoreStretch(const SavedPixels& pixels, const Rect& zone) override;
  void restoreColorize(const SavedPixels& pixels, RgbColor color) override;
  void drawImage(const PortImage& image, int32_t x, int32_t y) override;
  void stretchImage(const PortImage& image, const Rect& zone) override;
  void clipToZone(const Rect& zone) override;
  void setColors(RgbColor foreground, RgbColor background) override;

 private:
  // The output and what it has defined and set so far; clones share it.
  struct Output;

  PostScriptPort(const PostScriptPort&) = default;

  void WriteProlog();
  void Emit(std::string_view piece);
  void EmitLine(std::string_view piece);
  void Define(bool& done, std::string_view definition);
  std::string Number(int32_t value) const;
  std::string PointText(int32_t x, int32_t y) const;
  int32_t WrittenY(int32_t y) const { return flipped_ ? height_ - y : y; }

  void UseColor(RgbColor color);
  void DefinePathProcedures();
  void DefineTextProcedures();
  void FlushOpenPath();
  void WritePen(int32_t width, RgbColor color, LinePattern pattern);
  void RestorePen();
  void CountSegment(int32_t x, int32_t y);
  void WriteZonePath(const Rect& zone, std::string_view last);
  void WritePolygonPath(std::span<const Point> polygon);
  void FillPolygon(std::span<const Point> polygon, RgbColor color);
  void WriteText(std::string_view text, const PortFont& font, uint8_t style,
                 const std::string& position);
  void WriteImage(const PortImage& image, const Rect& zone, RgbColor maskColor);
  const std::array<int16_t, 256>& DirectCodes(const FaceMetrics& face);
  void NoteFont(const std::string& name);

  std::shared_ptr<Output> out_;
  bool owner_ = true;
};

}  // namespace lemmabox
