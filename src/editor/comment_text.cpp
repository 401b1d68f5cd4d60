#include "editor/comment_text.h"

#include <algorithm>
#include <utility>

#include "editor/comment_writer.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

bool IsWord(const CommentNode& node) {
  return node.kind == CommentNodeKind::kWord;
}

bool IsParagraph(const CommentNode& node) {
  return node.kind == CommentNodeKind::kParagraph;
}

int32_t UnitsOf(const CommentNode& node) {
  return IsWord(node) ? static_cast<int32_t>(node.text.size()) : 1;
}

bool IsLetter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}

CommentNode& NodeAt(CommentNode& root, const CommentPath& path) {
  CommentNode* node = &root;
  for (int32_t index : path) {
    if (index < 0 || static_cast<size_t>(index) >= node->children.size())
      InternalError("CommentNodeAt");
    node = &node->children[index];
  }
  return *node;
}

const CommentNode& NodeAt(const CommentNode& root, const CommentPath& path) {
  return NodeAt(const_cast<CommentNode&>(root), path);
}

bool IsPrefix(const CommentPath& prefix, const CommentPath& path) {
  return prefix.size() <= path.size() && std::equal(prefix.begin(), prefix.end(), path.begin());
}

void CollectLines(const CommentNode& paragraph, CommentPath& path, std::vector<CommentLine>& out) {
  const auto n = static_cast<int32_t>(paragraph.children.size());
  if (n == 0) {
    out.push_back(CommentLine{path, 0, 0, 0, 0});
    return;
  }
  int32_t i = 0;
  while (i < n) {
    if (IsParagraph(paragraph.children[i])) {
      path.push_back(i);
      CollectLines(paragraph.children[i], path, out);
      path.pop_back();
      ++i;
      continue;
    }
    int32_t j = i;
    while (j < n && !IsParagraph(paragraph.children[j])) ++j;
    out.push_back(CommentLine{path, i, j, 0, 0});
    i = j;
  }
}

// Where unit u of a line falls among the paragraph's children: the child
// that starts there (or the word it falls inside, which is then split so
// that a child starts there). Returns that child's index; the line's end when
// u is at its end.
int32_t CutAt(CommentNode& paragraph, const CommentLine& line, int32_t u) {
  int32_t start = 0;
  for (int32_t i = line.begin; i < line.end; ++i) {
    if (u <= start) return i;
    CommentNode& child = paragraph.children[i];
    const int32_t n = UnitsOf(child);
    if (IsWord(child) && u < start + n) {
      CommentNode tail = child;
      tail.text = child.text.substr(u - start);
      child.text.resize(u - start);
      paragraph.children.insert(paragraph.children.begin() + i + 1, std::move(tail));
      return i + 1;
    }
    start += n;
  }
  return line.end;
}

// Joins neighbouring words of one style and parts them again as a reader
// would, dropping empty words. Units do not change.
void ArrangeWords(CommentNode& paragraph) {
  std::vector<CommentNode> arranged;
  arranged.reserve(paragraph.children.size());
  for (CommentNode& child : paragraph.children) {
    if (IsWord(child) && !arranged.empty() && IsWord(arranged.back()) &&
        arranged.back().style == child.style) {
      arranged.back().text += child.text;
      continue;
    }
    if (IsWord(child) && child.text.empty()) continue;
    arranged.push_back(std::move(child));
  }
  paragraph.children.clear();
  for (CommentNode& node : arranged) {
    if (!IsWord(node)) {
      paragraph.children.push_back(std::move(node));
      continue;
    }
    for (std::string& piece : WordPiecesAsRead(node.text))
      paragraph.children.push_back(MakeCommentWord(std::move(piece), node.style));
  }
}

void ArrangeAll(CommentNode& node) {
  if (!IsParagraph(node)) return;
  ArrangeWords(node);
  for (CommentNode& child : node.children) ArrangeAll(child);
}

// A paragraph must stay within what a comment can hold once written.
void CheckParagraphSize(const CommentNode& paragraph) {
  size_t count = 0;
  for (const CommentNode& child : paragraph.children)
    count += IsWord(child) ? WordReadBackCount(child.text) : 1;
  if (count > kMaxCommentChildren) Raise(kMsgExpressionTooLarge);
}

// Whether a line is all of a paragraph below the root.
bool IsWholeParagraph(const CommentNode& root, const CommentLine& line) {
  return !line.paragraph.empty() && line.begin == 0 &&
         line.end == static_cast<int32_t>(NodeAt(root, line.paragraph).children.size());
}

// Removes the units [from, to) of one line (line-relative), without joining.
void DeleteInLine(CommentNode& root, const CommentLine& line, int32_t from, int32_t to) {
  CommentNode& paragraph = NodeAt(root, line.paragraph);
  const bool amongParagraphs =
      std::any_of(paragraph.children.begin(), paragraph.children.end(), IsParagraph);
  std::vector<int32_t> starts;
  int32_t start = 0;
  for (int32_t i = line.begin; i < line.end; ++i) {
    starts.push_back(start);
    start += UnitsOf(paragraph.children[i]);
  }
  int32_t removed = 0;
  for (int32_t i = line.end - 1; i >= line.begin; --i) {
    CommentNode& child = paragraph.children[i];
    const int32_t s = starts[i - line.begin];
    const int32_t a = std::max(s, from);
    const int32_t b = std::min(s + UnitsOf(child), to);
    if (a >= b) continue;
    if (IsWord(child)) {
      child.text.erase(a - s, b - a);
      if (!child.text.empty()) continue;
    }
    paragraph.children.erase(paragraph.children.begin() + i);
    ++removed;
  }
  // A run among paragraphs that lost all its text stays a line: an empty
  // paragraph takes its place.
  if (amongParagraphs && removed > 0 && removed == line.end - line.begin) {
    paragraph.children.insert(paragraph.children.begin() + line.begin,
                              MakeCommentParagraph({}, paragraph.paragraph, paragraph.style));
  }
}

std::vector<CommentNode> TakeChildren(CommentNode& paragraph, int32_t begin, int32_t end) {
  std::vector<CommentNode> taken(std::make_move_iterator(paragraph.children.begin() + begin),
                                 std::make_move_iterator(paragraph.children.begin() + end));
  paragraph.children.erase(paragraph.children.begin() + begin, paragraph.children.begin() + end);
  return taken;
}

// Takes the line break after line `li` away. A run of text followed by a
// paragraph moves into that paragraph; otherwise the next line's content
// moves to the end of this one and paragraphs left empty go. Either way the
// lines around the two keep their breaks.
void JoinWithNext(CommentNode& root, size_t li) {
  const std::vector<CommentLine> lines = CommentLines(root);
  if (li + 1 >= lines.size()) return;
  const CommentLine& line = lines[li];
  const CommentLine& next = lines[li + 1];
  if (!IsWholeParagraph(root, line) && IsWholeParagraph(root, next)) {
    // The paragraph comes after the run in reading order: taking the run out
    // of its paragraph first moves the paragraph's place only when they
    // share a parent, by the run's length.
    CommentPath target = next.paragraph;
    if (IsPrefix(line.paragraph, target) && target[line.paragraph.size()] >= line.end)
      target[line.paragraph.size()] -= line.end - line.begin;
    std::vector<CommentNode> moved =
        TakeChildren(NodeAt(root, line.paragraph), line.begin, line.end);
    CommentNode& into = NodeAt(root, target);
    into.children.insert(into.children.begin(), std::make_move_iterator(moved.begin()),
                         std::make_move_iterator(moved.end()));
    ArrangeWords(into);
    return;
  }
  std::vector<CommentNode> moved = TakeChildren(NodeAt(root, next.paragraph), next.begin, next.end);
  // The emptied paragraphs come after the line in reading order, so taking
  // them out moves nothing the line's place depends on.
  CommentPath path = next.paragraph;
  while (!path.empty() && NodeAt(root, path).children.empty() && !IsPrefix(path, line.paragraph)) {
    const int32_t index = path.back();
    path.pop_back();
    CommentNode& parent = NodeAt(root, path);
    parent.children.erase(parent.children.begin() + index);
  }
  CommentNode& into = NodeAt(root, line.paragraph);
  into.children.insert(into.children.begin() + line.end, std::make_move_iterator(moved.begin()),
                       std::make_move_iterator(moved.end()));
  ArrangeWords(into);
}

void RestyleDeep(CommentNode& node, const std::function<void(NodeStyle&)>& change) {
  change(node.style);
  for (CommentNode& child : node.children) RestyleDeep(child, change);
}

// Line-relative range of [from, to) within a line.
std::pair<int32_t, int32_t> LocalRange(const CommentLine& line, int32_t from, int32_t to) {
  return {std::clamp(from - line.firstUnit, 0, line.units),
          std::clamp(to - line.firstUnit, 0, line.units)};
}

}  // namespace

std::vector<CommentLine> CommentLines(const CommentNode& root) {
  std::vector<CommentLine> lines;
  CommentPath path;
  CollectLines(root, path, lines);
  int32_t unit = 0;
  for (CommentLine& line : lines) {
    const CommentNode& paragraph = NodeAt(root, line.paragraph);
    line.firstUnit = unit;
    line.units = 0;
    for (int32_t i = line.begin; i < line.end; ++i) line.units += UnitsOf(paragraph.children[i]);
    unit += line.units + 1;
  }
  return lines;
}

int32_t CommentUnitCount(const CommentNode& root) {
  const std::vector<CommentLine> lines = CommentLines(root);
  return lines.back().firstUnit + lines.back().units;
}

size_t LineOfUnit(const std::vector<CommentLine>& lines, int32_t unit) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (unit <= lines[i].firstUnit + lines[i].units) return i;
  return lines.size() - 1;
}

CommentPlace PlaceOfUnit(const CommentNode& root, int32_t unit) {
  const std::vector<CommentLine> lines = CommentLines(root);
  const CommentLine& line = lines[LineOfUnit(lines, unit)];
  const int32_t u = std::clamp(unit - line.firstUnit, 0, line.units);
  const CommentNode& paragraph = NodeAt(root, line.paragraph);
  int32_t start = 0;
  for (int32_t i = line.begin; i < line.end; ++i) {
    const CommentNode& child = paragraph.children[i];
    const int32_t n = UnitsOf(child);
    if (IsWord(child) && u >= start && u <= start + n) return {line.paragraph, i, u - start};
    if (!IsWord(child) && u == start) return {line.paragraph, i, 0};
    start += n;
  }
  return {line.paragraph, line.end, 0};
}

int32_t UnitOfPlace(const CommentNode& root, const CommentPlace& place) {
  return CommentUnitIndex(root).Unit(place);
}

CommentUnitIndex::CommentUnitIndex(const CommentNode& root) {
  for (const CommentLine& line : CommentLines(root)) {
    const CommentNode& paragraph = NodeAt(root, line.paragraph);
    Line indexed{line, {line.firstUnit}, {}};
    for (int32_t i = line.begin; i < line.end; ++i) {
      indexed.before.push_back(indexed.before.back() + UnitsOf(paragraph.children[i]));
      indexed.word.push_back(IsWord(paragraph.children[i]));
    }
    lines_.push_back(std::move(indexed));
  }
}

int32_t CommentUnitIndex::Unit(const CommentPlace& place) const {
  for (const Line& indexed : lines_) {
    const CommentLine& line = indexed.line;
    if (line.paragraph != place.paragraph || place.index < line.begin || place.index > line.end)
      continue;
    const size_t k = static_cast<size_t>(place.index - line.begin);
    int32_t unit = indexed.before[k];
    if (k < indexed.word.size() && indexed.word[k])
      unit += std::clamp(place.offset, 0, indexed.before[k + 1] - indexed.before[k]);
    return unit;
  }
  return -1;
}

std::string LineCharacters(const CommentNode& root, const CommentLine& line) {
  const CommentNode& paragraph = NodeAt(root, line.paragraph);
  std::string text;
  for (int32_t i = line.begin; i < line.end; ++i) {
    const CommentNode& child = paragraph.children[i];
    switch (child.kind) {
      case CommentNodeKind::kWord:
        text += child.text;
        break;
      case CommentNodeKind::kSpace:
        text += ' ';
        break;
      case CommentNodeKind::kTab:
        text += '\t';
        break;
      default:
        text += '\0';
        break;
    }
  }
  return text;
}

NodeStyle StyleAtUnit(const CommentNode& root, int32_t unit) {
  const std::vector<CommentLine> lines = CommentLines(root);
  const CommentLine& line = lines[LineOfUnit(lines, unit)];
  const CommentNode& paragraph = NodeAt(root, line.paragraph);
  const int32_t u = std::clamp(unit - line.firstUnit, 0, line.units);
  int32_t start = 0;
  const CommentNode* after = nullptr;
  for (int32_t i = line.begin; i < line.end; ++i) {
    const CommentNode& child = paragraph.children[i];
    const int32_t n = UnitsOf(child);
    if (n > 0 && u > start && u <= start + n) return child.style;
    if (n > 0 && after == nullptr && u <= start) after = &child;
    start += n;
  }
  return after != nullptr ? after->style : paragraph.style;
}

int32_t InsertCommentNodes(CommentNode& root, int32_t at, std::vector<CommentNode> nodes) {
  const std::vector<CommentLine> lines = CommentLines(root);
  const CommentLine& line = lines[LineOfUnit(lines, at)];
  CommentNode& paragraph = NodeAt(root, line.paragraph);
  const int32_t k = CutAt(paragraph, line, std::clamp(at - line.firstUnit, 0, line.units));
  int32_t added = 0;
  for (const CommentNode& node : nodes) {
    if (IsParagraph(node)) InternalError("InsertCommentNodes");
    added += UnitsOf(node);
  }
  paragraph.children.insert(paragraph.children.begin() + k, std::make_move_iterator(nodes.begin()),
                            std::make_move_iterator(nodes.end()));
  ArrangeWords(paragraph);
  CheckParagraphSize(paragraph);
  return at + added;
}

int32_t InsertCommentContent(CommentNode& root, int32_t at, const CommentNode& content) {
  const std::vector<CommentLine> lines = CommentLines(content);
  for (size_t li = 0; li < lines.size(); ++li) {
    if (li > 0) {
      BreakCommentLine(root, at);
      ++at;
    }
    const CommentNode& paragraph = NodeAt(content, lines[li].paragraph);
    std::vector<CommentNode> nodes(paragraph.children.begin() + lines[li].begin,
                                   paragraph.children.begin() + lines[li].end);
    at = InsertCommentNodes(root, at, std::move(nodes));
  }
  return at;
}

void DeleteCommentUnits(CommentNode& root, int32_t from, int32_t to) {
  const int32_t total = CommentUnitCount(root);
  from = std::clamp(from, 0, total);
  to = std::clamp(to, 0, total);
  if (from >= to) return;
  std::vector<CommentLine> lines = CommentLines(root);
  const size_t first = LineOfUnit(lines, from);
  const size_t joins = LineOfUnit(lines, to) - first;
  // The lines become one (each join takes one line break away), and the
  // rest of the range lies in that line.
  for (size_t n = 0; n < joins; ++n) JoinWithNext(root, first);
  to -= static_cast<int32_t>(joins);
  lines = CommentLines(root);
  const CommentLine& line = lines[first];
  DeleteInLine(root, line, from - line.firstUnit, to - line.firstUnit);
  ArrangeAll(root);
}

void BreakCommentLine(CommentNode& root, int32_t at) {
  const std::vector<CommentLine> lines = CommentLines(root);
  const CommentLine& line = lines[LineOfUnit(lines, at)];
  CommentNode& paragraph = NodeAt(root, line.paragraph);
  const bool ownParagraph = IsWholeParagraph(root, line);
  const size_t before = paragraph.children.size();
  const int32_t k = CutAt(paragraph, line, std::clamp(at - line.firstUnit, 0, line.units));
  const int32_t end = line.end + static_cast<int32_t>(paragraph.children.size() - before);
  auto part = [&](int32_t a, int32_t b) {
    std::vector<CommentNode> children(std::make_move_iterator(paragraph.children.begin() + a),
                                      std::make_move_iterator(paragraph.children.begin() + b));
    CommentNode made =
        MakeCommentParagraph(std::move(children), paragraph.paragraph, paragraph.style);
    ArrangeWords(made);
    return made;
  };
  if (ownParagraph) {
    // A paragraph of its own: it parts into two paragraphs of its format.
    CommentNode second = part(k, end);
    paragraph.children.erase(paragraph.children.begin() + k, paragraph.children.end());
    ArrangeWords(paragraph);
    CommentPath parentPath = line.paragraph;
    const int32_t index = parentPath.back();
    parentPath.pop_back();
    CommentNode& parent = NodeAt(root, parentPath);
    if (parent.children.size() >= kMaxCommentChildren) Raise(kMsgExpressionTooLarge);
    parent.children.insert(parent.children.begin() + index + 1, std::move(second));
    return;
  }
  // A run among paragraphs, or the whole of the comment: the run becomes two
  // paragraphs in its place.
  CommentNode first = part(line.begin, k);
  CommentNode second = part(k, end);
  paragraph.children.erase(paragraph.children.begin() + line.begin,
                           paragraph.children.begin() + end);
  paragraph.children.insert(paragraph.children.begin() + line.begin, std::move(second));
  paragraph.children.insert(paragraph.children.begin() + line.begin, std::move(first));
}

void RestyleCommentUnits(CommentNode& root, int32_t from, int32_t to,
                         const std::function<void(NodeStyle&)>& change) {
  if (from >= to) return;
  const size_t count = CommentLines(root).size();
  for (size_t li = 0; li < count; ++li) {
    // Cutting words adds children, so each line is looked up afresh.
    const CommentLine line = CommentLines(root)[li];
    const auto [a, b] = LocalRange(line, from, to);
    if (a >= b) continue;
    CommentNode& paragraph = NodeAt(root, line.paragraph);
    const size_t before = paragraph.children.size();
    int32_t k2 = CutAt(paragraph, line, b);
    CommentLine cut = line;
    cut.end += static_cast<int32_t>(paragraph.children.size() - before);
    const size_t middle = paragraph.children.size();
    const int32_t k1 = CutAt(paragraph, cut, a);
    k2 += static_cast<int32_t>(paragraph.children.size() - middle);
    for (int32_t i = k1; i < k2; ++i) RestyleDeep(paragraph.children[i], change);
  }
  ArrangeAll(root);
}

void VisitCommentUnits(const CommentNode& root, int32_t from, int32_t to,
                       const std::function<void(const CommentNode&)>& look) {
  for (const CommentLine& line : CommentLines(root)) {
    const auto [a, b] = LocalRange(line, from, to);
    if (a >= b) continue;
    const CommentNode& paragraph = NodeAt(root, line.paragraph);
    int32_t start = 0;
    for (int32_t i = line.begin; i < line.end; ++i) {
      const CommentNode& child = paragraph.children[i];
      const int32_t n = UnitsOf(child);
      if (start < b && start + n > a) look(child);
      start += n;
    }
  }
}

CommentNode CopyCommentUnits(const CommentNode& root, int32_t from, int32_t to) {
  std::vector<CommentNode> lines;
  const NodeStyle rootStyle = root.style;
  for (const CommentLine& line : CommentLines(root)) {
    if (line.firstUnit + line.units < from || line.firstUnit > to) continue;
    const auto [a, b] = LocalRange(line, from, to);
    const CommentNode& paragraph = NodeAt(root, line.paragraph);
    std::vector<CommentNode> children;
    int32_t start = 0;
    for (int32_t i = line.begin; i < line.end; ++i) {
      const CommentNode& child = paragraph.children[i];
      const int32_t n = UnitsOf(child);
      if (start < b && start + n > a) {
        CommentNode copy = child;
        if (IsWord(child)) {
          const int32_t s = std::max(a, start) - start;
          copy.text = child.text.substr(s, std::min(b, start + n) - start - s);
        }
        children.push_back(std::move(copy));
      }
      start += n;
    }
    lines.push_back(
        MakeCommentParagraph(std::move(children), paragraph.paragraph, paragraph.style));
  }
  if (lines.size() == 1) return std::move(lines.front());
  return MakeCommentParagraph(std::move(lines), root.paragraph, rootStyle);
}

std::pair<int32_t, int32_t> CommentWordAround(const CommentNode& root, int32_t unit) {
  const std::vector<CommentLine> lines = CommentLines(root);
  const CommentLine& line = lines[LineOfUnit(lines, unit)];
  const std::string text = LineCharacters(root, line);
  const auto u = static_cast<size_t>(std::clamp(unit - line.firstUnit, 0, line.units));
  auto inWord = [&](size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    return IsLetter(c) || IsDigit(c) || c >= 0x80;
  };
  size_t a = u;
  size_t b = u;
  if (u < text.size() && inWord(u)) {
    b = u + 1;
  } else if (u > 0 && inWord(u - 1)) {
    a = u - 1;
  } else if (u < text.size()) {
    return {line.firstUnit + static_cast<int32_t>(u), line.firstUnit + static_cast<int32_t>(u) + 1};
  } else {
    return {unit, unit};
  }
  while (a > 0 && inWord(a - 1)) --a;
  while (b < text.size() && inWord(b)) ++b;
  return {line.firstUnit + static_cast<int32_t>(a), line.firstUnit + static_cast<int32_t>(b)};
}

std::vector<std::string> WordPiecesAsRead(std::string_view text) {
  std::vector<std::string> pieces;
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    const bool letters = IsLetter(c);
    if (!letters && !IsDigit(c)) {
      pieces.emplace_back(1, static_cast<char>(c));
      ++i;
      continue;
    }
    const size_t limit = letters ? kMaxWordLetters : kMaxWordDigits;
    size_t j = i;
    while (j < text.size() && j - i < limit) {
      const auto d = static_cast<unsigned char>(text[j]);
      if (letters ? !IsLetter(d) : !IsDigit(d)) break;
      ++j;
    }
    pieces.emplace_back(text.substr(i, j - i));
    i = j;
  }
  return pieces;
}

}  // namespace lemmabox
