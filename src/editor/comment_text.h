// Comment text as the comment editor sees it: a run of units.
//
// A comment's tree is read as lines. A line is a run of the non-paragraph
// children of one paragraph: a paragraph without paragraphs inside is one
// line, and a paragraph that holds paragraphs has one line for each run of
// other children between them. An empty paragraph is one empty line.
//
// Each character of a word is one unit; every other node in a line (space,
// tab, mark, picture, double-byte word, typeset construct) is one unit and
// is edited as a whole. Between two lines there is one more unit, the line
// break. A caret is a unit number 0..CommentUnitCount: the place before that
// unit. Splitting and joining words does not change the units, so a caret
// stays where it was however the words of a line are arranged.
//
// After every change the words of the changed paragraphs are arranged the
// way a comment file reads them back (one word per run of letters or digits,
// one per other character, neighbours of one style joined), so that an
// edited comment saves and loads as the same tree.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "editor/comment_tree.h"

namespace lemmabox {

struct CommentLine {
  CommentPath paragraph;  // the paragraph that holds the line
  int32_t begin = 0;      // its children [begin, end)
  int32_t end = 0;
  int32_t firstUnit = 0;
  int32_t units = 0;
};

// A place in a line: before child `index` of the paragraph, or, when that
// child is a word, `offset` characters into it.
struct CommentPlace {
  CommentPath paragraph;
  int32_t index = 0;
  int32_t offset = 0;
  friend bool operator==(const CommentPlace&, const CommentPlace&) = default;
};

// The lines of a comment in reading order, never empty.
std::vector<CommentLine> CommentLines(const CommentNode& root);
int32_t CommentUnitCount(const CommentNode& root);

// Which line a unit lies in: its index in lines (a caret at the end of a
// line belongs to that line).
size_t LineOfUnit(const std::vector<CommentLine>& lines, int32_t unit);

// The place of a caret, at the end of a word rather than before what follows
// it, so that typing goes on in the word.
CommentPlace PlaceOfUnit(const CommentNode& root, int32_t unit);
// The caret at a place; -1 when the place is not in a line.
int32_t UnitOfPlace(const CommentNode& root, const CommentPlace& place);

// The carets of many places at once (a laid-out comment's stops): the lines
// are walked once.
class CommentUnitIndex {
 public:
  explicit CommentUnitIndex(const CommentNode& root);
  // As UnitOfPlace.
  int32_t Unit(const CommentPlace& place) const;

 private:
  struct Line {
    CommentLine line;
    std::vector<int32_t> before;  // units before each child, and after the last
    std::vector<bool> word;
  };
  std::vector<Line> lines_;
};

// The units of a line as characters: a word's characters, ' ' for a space,
// '\t' for a tab and '\0' for anything else.
std::string LineCharacters(const CommentNode& root, const CommentLine& line);

// The style typing at the caret takes: the unit before it in its line, else
// the unit after it, else the line's paragraph.
NodeStyle StyleAtUnit(const CommentNode& root, int32_t unit);

// --- Changes (each keeps the tree in the arrangement described above) ---

// Inserts nodes (none of them a paragraph) at the caret; returns the caret
// after them. 13173 when the paragraph would hold more than a comment can.
int32_t InsertCommentNodes(CommentNode& root, int32_t at, std::vector<CommentNode> nodes);
// Inserts the content of a comment (its root paragraph): its first line at
// the caret, each further line after a line break. Returns the caret after it.
int32_t InsertCommentContent(CommentNode& root, int32_t at, const CommentNode& content);
// Deletes the units [from, to); line breaks among them join their lines.
void DeleteCommentUnits(CommentNode& root, int32_t from, int32_t to);
// Breaks the line at the caret; the caret after the break is at + 1.
void BreakCommentLine(CommentNode& root, int32_t at);
// Changes the style of every node of [from, to) (words cut at the ends);
// typeset constructs change with everything inside them.
void RestyleCommentUnits(CommentNode& root, int32_t from, int32_t to,
                         const std::function<void(NodeStyle&)>& change);
// Calls look for each node of [from, to) (a word once, however much of it is
// in the range).
void VisitCommentUnits(const CommentNode& root, int32_t from, int32_t to,
                       const std::function<void(const CommentNode&)>& look);
// A paragraph holding a copy of [from, to): one line as its children, several
// lines as one paragraph each.
CommentNode CopyCommentUnits(const CommentNode& root, int32_t from, int32_t to);

// The word around a unit, for a double-click: the run of letters and digits
// that holds the unit (or ends at it), else that unit alone. Returns the
// range as {start, end}.
std::pair<int32_t, int32_t> CommentWordAround(const CommentNode& root, int32_t unit);

// The pieces a reader makes of a word's text.
std::vector<std::string> WordPiecesAsRead(std::string_view text);

}  // namespace lemmabox
