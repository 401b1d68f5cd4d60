// Sentences: declarations, rules and plots are shown as a sentence made
// from a template of the string table, with the entry's icon, pop-up
// controls and editable expressions in its slots:
//   "&1i A &2p named &3t behaves as &4p."
// '&', a slot digit and a letter mark a slot: i the icon, p a pop-up, t an
// expression (a sub-object of the entry). The rest is plain text.
//
// A sentence is filled line by line. Lines break only before a slot or
// before a whole text run (a run is never split); the first line starts one
// unit in, later lines hang at two icon widths, and the last line the entry
// allows takes whatever is left. Sizing records where every line and piece
// went, and drawing puts them exactly there.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "layout/context.h"

namespace lemmabox {

// A template has at most this many slots (digits '1'..'7').
constexpr int kMaxSentenceSlots = 7;
// Line limits outside 0..15 are refused.
constexpr int kMaxSentenceLines = 15;
// The last line a sentence may use is this wide.
constexpr int32_t kLastLineLimit = 30000;
// The printable width of a page when no printer set-up has said otherwise:
// 7.5 inches (US Letter or A4 with the usual margins).
constexpr int32_t kDefaultPrintableWidth = 540;

// What fills the slots of a template, by slot index (the digit - '1'): an
// expression for a 't' slot, an item text for a 'p' slot.
struct SentenceSlot {
  Handle object = nullptr;
  std::string popupText;
};
using SentenceSlots = std::array<SentenceSlot, kMaxSentenceSlots>;

// Where one line of a sentence went: the template offset it starts at (-1
// for a line that holds nothing), its reference line and its start x.
struct SentenceLine {
  int32_t offset = -1;
  int32_t referenceY = 0;
  int32_t x = 0;
};

enum class SentencePieceKind : uint8_t { kText, kIcon, kPopup, kSlot };

// A placed piece of a sentence, relative to the entry's top-left corner.
struct SentencePiece {
  SentencePieceKind kind = SentencePieceKind::kText;
  int slot = -1;     // the slot index of an icon, pop-up or expression
  int sentence = 0;  // 0, or 1 for a second sentence below the first
  std::string text;  // a text run, or a pop-up's item
  Rect box;          // a text run's or pop-up's box; the icon's box
  int32_t referenceY = 0;
};

struct SentenceLayout {
  std::vector<SentenceLine> lines;  // the line records, every line the limit allows
  std::vector<SentencePiece> pieces;
  LayoutBox box;
};

// Lays out the sentence of template `templateId` from y on. `width` 0 means
// 27 em; otherwise the lines are at least 16 main sizes wide. `lineLimit`
// lines at most (internal error "dwSize" outside 0..15). Expression slots
// are sized and placed inside the entry (their boxes are relative to it);
// the pieces are appended to `out`. Internal errors: "No letter after
// digit: " and the template before the bad slot; the template text itself
// for an expression slot that holds no math object.
LayoutBox LayOutSentence(const SizeContext& ctx, int32_t y, int templateId, int32_t width,
                         int lineLimit, const SentenceSlots& slots, SentenceLayout& out,
                         int sentence = 0);
// The same for a template given as text.
LayoutBox LayOutSentenceText(const SizeContext& ctx, int32_t y, const std::string& text,
                             int32_t width, int lineLimit, const SentenceSlots& slots,
                             SentenceLayout& out, int sentence = 0);

// The width a sentence entry may fill: inside a graph, the graph's frame
// width less half an em and an icon; elsewhere the printable page width.
int32_t AvailableSentenceWidth(Handle entry, const LayoutMetrics& m);

// The printable width of the page in points, set when the print settings
// are read; sentences and comments wrap at it.
void SetPrintableWidth(int32_t points);
int32_t PrintableWidth();
// The same in the units of a port with these metrics.
int32_t PrintableWidthUnits(const LayoutMetrics& m);

// The layout recorded for an entry when it was last sized; null when it has
// none (or its size is no longer valid).
const SentenceLayout* SentenceLayoutOf(Handle entry);
SentenceLayout& RecordSentenceLayout(Handle entry);
// Drops an entry's recorded layout (the entry is going away).
void ForgetSentenceLayout(Handle entry);

// Draws a sized sentence entry: text runs, pop-ups, icons and expressions.
void DrawSentence(Handle entry, const DrawContext& ctx);

// The pop-up under a point of a laid-out sentence entry whose absolute
// place is ctx: which sentence, which slot number (from 1, as the template
// writes it) and its absolute box. The desktop opens the pop-up's menu there.
struct SentencePopupHit {
  int sentence = 0;
  int slotNumber = 0;
  Rect box;
};
bool SentencePopupAt(Handle entry, const PlaceContext& ctx, Point point, SentencePopupHit& hit);

// Hides the object slots of entry (from `first`) that a layout left out.
void HideUnplacedSlots(Handle entry, int first, std::span<const Handle> placed);

// Pop-up controls: the box of an item text and its drawing.
LayoutBox SizePopup(const LayoutEnv& env, const std::string& item);
void DrawPopup(const DrawContext& ctx, const Rect& box, int32_t referenceY,
               const std::string& item);

}  // namespace lemmabox
