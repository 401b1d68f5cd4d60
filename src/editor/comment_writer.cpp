#include "editor/comment_writer.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "editor/compact_integer.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

// Line breaking: past this many characters a break comes before the next
// node, and past the smaller count before a ruler, so that a ruler fits on
// the rest of its line.
constexpr size_t kNodeBreakColumn = 72 - 12;
constexpr size_t kRulerBreakColumn = 72 - 35;
// Written after a ruler's stops, where older rulers kept two more fields.
constexpr int32_t kRulerFiller = -9;
// Ends a selection path.
constexpr int32_t kPathEnd = -9;

size_t ListReadBackCount(const std::vector<CommentNode>& children) {
  size_t count = 0;
  for (const CommentNode& child : children) {
    count += child.kind == CommentNodeKind::kWord ? WordReadBackCount(child.text) : 1;
  }
  return count;
}

bool IsFixedSlotParent(CommentNodeKind kind) {
  return kind == CommentNodeKind::kPile || kind == CommentNodeKind::kGrid ||
         kind == CommentNodeKind::kTemplate;
}

// Checks everything that must hold before a single character is written, so
// that a failed write leaves nothing behind and a written form always reads.
// level counts the containers around node; a word in a fixed slot that a
// reader would part is written inside a sequence, which counts as one more.
void CheckNode(const CommentNode& node, int level, bool fixedSlot) {
  const bool wrapped =
      node.kind == CommentNodeKind::kWord && fixedSlot && WordReadBackCount(node.text) != 1;
  if ((node.IsContainer() || wrapped) && level >= kMaxCommentDepth) {
    Raise(kMsgTooManyCompositeLevels);
  }
  switch (node.kind) {
    case CommentNodeKind::kParagraph:
      for (const TabStop& stop : node.paragraph.tabStops) {
        if (stop.kind > kMaxTabKind || stop.position > kFreeTabPosition) {
          InternalError("WriteComment");
        }
      }
      [[fallthrough]];
    case CommentNodeKind::kSequence:
      if (ListReadBackCount(node.children) > kMaxCommentChildren) Raise(kMsgExpressionTooLarge);
      break;
    case CommentNodeKind::kPile:
      if (node.children.size() > static_cast<size_t>(kMaxGridSide)) {
        Raise(kMsgExpressionTooLarge);
      }
      break;
    case CommentNodeKind::kGrid:
      if (node.rows < 0 || node.columns < 0 ||
          int64_t{node.rows} * node.columns != static_cast<int64_t>(node.children.size())) {
        InternalError("WriteComment");
      }
      if (node.rows > kMaxGridSide || node.columns > kMaxGridSide) Raise(kMsgExpressionTooLarge);
      break;
    case CommentNodeKind::kTemplate:
      if (static_cast<size_t>(TemplateCount(node.templateCode)) != node.children.size()) {
        InternalError("WriteComment");
      }
      break;
    default:
      break;
  }
  for (const CommentNode& child : node.children) {
    CheckNode(child, level + 1, IsFixedSlotParent(node.kind));
  }
}

class CommentWriter {
 public:
  explicit CommentWriter(const CommentWriteOptions& options) : options_(options) {}

  std::string Write(const CommentTree& tree) {
    out_.append(kCommentOpenMark);
    out_.push_back('#');
    PutInt(kCommentFormVersion);
    WriteBackground();
    WriteNode(tree.root, false);
    if (options_.writeSelection && tree.selection) WriteSelection(*tree.selection);
    out_.append(kCommentCloseMark);
    return std::move(out_);
  }

 private:
  enum class Run { kNone, kLetters, kDigits };

  void Put(char c) {
    out_.push_back(c);
    lastRun_ = Run::kNone;
  }
  void PutInt(int32_t value) {
    AppendCompactInteger(out_, value);
    lastRun_ = Run::kNone;
  }

  void BreakLineIfPast(size_t column) {
    if (out_.size() - lineStart_ <= column) return;
    out_.push_back('|');
    out_.append(options_.lineTag);
    out_.push_back('|');
    lineStart_ = out_.size();
    lastRun_ = Run::kNone;
  }

  void WriteBackground() {
    Put('`');
    Put('b');
    if (options_.background) {
      PutInt(options_.background->red);
      PutInt(options_.background->green);
      PutInt(options_.background->blue);
    } else {
      for (int i = 0; i < 3; ++i) PutInt(-1);
    }
    Put('}');
  }

  // The commands that bring the current state to the node's style.
  void WriteState(const NodeStyle& style) {
    if (colour_ != style.colour) {
      Put('`');
      Put('f');
      PutInt(style.colour);
      Put('}');
      colour_ = style.colour;
    }
    // Fonts are told apart as they are written: by name and terminator.
    const char writtenClass = style.fontClass == kFontClassText ? kFontClassText : kFontClassSymbol;
    std::pair<std::string, char> font{ResolvedFontName(style.record.FontName()), writtenClass};
    if (font_ != font) {
      auto known = std::find(fonts_.begin(), fonts_.end(), font);
      if (known == fonts_.end()) {
        if (fonts_.size() >= kMaxCommentFonts) Raise(kMsgTooManyFontFamilies);
        Put('"');
        PutInt(static_cast<int32_t>(fonts_.size()));
        for (unsigned char c : font.first) {
          if (c < 0x20 || c > 'z' || c == '^') {
            Put('{');
            PutInt(c);
          } else {
            Put(static_cast<char>(c));
          }
        }
        Put(font.second == kFontClassText ? '|' : '^');
        fonts_.push_back(font);
        known = fonts_.end() - 1;
      }
      Put(':');
      PutInt(static_cast<int32_t>(known - fonts_.begin()));
      font_ = std::move(font);
    }
    const int32_t size = style.record.Size();
    if (size_ != size) {
      Put(';');
      PutInt(size);
      size_ = size;
    }
    const int32_t bits = PackStyleBits(style.record.Bits());
    if (bits_ != bits) {
      Put('&');
      PutInt(bits);
      bits_ = bits;
    }
  }

  void WriteChildren(const std::vector<CommentNode>& children, bool fixedSlots) {
    for (const CommentNode& child : children) WriteNode(child, fixedSlots);
  }

  // A node in a fixed slot (a pile row, a grid cell, a template slot) must
  // read back as exactly one node.
  void WriteNode(const CommentNode& node, bool fixedSlot) {
    if (node.kind == CommentNodeKind::kWord) {
      const size_t pieces = WordReadBackCount(node.text);
      if (fixedSlot && pieces != 1) {
        // Keep the slot one node: the word travels inside a sequence.
        std::vector<CommentNode> only;
        only.push_back(node);
        WriteNode(MakeCommentSequence(std::move(only), node.style), true);
        return;
      }
      if (pieces == 0) return;
    }
    BreakLineIfPast(kNodeBreakColumn);
    WriteState(node.style);
    switch (node.kind) {
      case CommentNodeKind::kWord:
        WriteWord(node.text);
        return;
      case CommentNodeKind::kSpace:
        Put(' ');
        return;
      case CommentNodeKind::kTab:
        Put('!');
        return;
      case CommentNodeKind::kSpecial:
        Put('\'');
        PutInt(node.specialKind);
        return;
      case CommentNodeKind::kPicture:
        WritePicture(node.text);
        return;
      case CommentNodeKind::kWideWord:
        Put('~');
        PutInt(static_cast<int32_t>(node.wideText.size()));
        for (uint16_t code : node.wideText) PutInt(code);
        Put('L');
        Put('}');
        return;
      case CommentNodeKind::kSequence:
        WriteSequence(node);
        return;
      case CommentNodeKind::kPile:
        Put('{');
        PutInt(static_cast<int32_t>(node.children.size()));
        WriteChildren(node.children, true);
        Put('}');
        return;
      case CommentNodeKind::kGrid:
        Put('[');
        PutInt(node.rows);
        PutInt(node.columns);
        PutInt(0);
        WriteChildren(node.children, true);
        Put('}');
        return;
      case CommentNodeKind::kTemplate:
        if (node.templateCode == kThreePartTemplate) {
          Put('$');
          WriteChildren(node.children, true);
          return;
        }
        Put('<');
        PutInt(node.templateCode);
        WriteChildren(node.children, true);
        Put('}');
        return;
      case CommentNodeKind::kParagraph:
        WriteParagraph(node);
        return;
    }
    InternalError("WriteComment");
  }

  void WriteWord(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      if (!IsPlainWordChar(c)) {
        AppendEscapedChar(out_, c);
        lastRun_ = Run::kNone;
        continue;
      }
      const Run run = IsPlainDigit(c) ? Run::kDigits : Run::kLetters;
      // A run right after a run of the same kind would read as one word; an
      // empty line tag keeps the two apart.
      if (i == 0 && run == lastRun_) out_.append("||");
      out_.push_back(static_cast<char>(c));
      lastRun_ = run;
    }
  }

  // The picture travels as its byte count and its bytes, letters and digits
  // as they are and every other byte escaped, broken into lines like the
  // rest of the form.
  void WritePicture(std::string_view bytes) {
    Put('`');
    Put('g');
    PutInt(static_cast<int32_t>(bytes.size()));
    for (unsigned char c : bytes) {
      BreakLineIfPast(kNodeBreakColumn);
      if (IsPlainWordChar(c)) {
        Put(static_cast<char>(c));
      } else {
        AppendEscapedChar(out_, c);
      }
    }
    Put('}');
  }

  void WriteSequence(const CommentNode& node) {
    if (node.children.empty()) {
      Put('_');
      return;
    }
    const CommentNode& first = node.children.front();
    if (node.children.size() == 1 &&
        (first.kind != CommentNodeKind::kWord || first.text.size() == 1)) {
      Put('^');
      WriteNode(first, true);
      return;
    }
    Put('(');
    PutInt(static_cast<int32_t>(ListReadBackCount(node.children)));
    WriteChildren(node.children, false);
    Put('}');
  }

  void WriteParagraph(const CommentNode& node) {
    const ParagraphFormat& format = node.paragraph;
    Put(')');
    PutInt(static_cast<int32_t>(ListReadBackCount(node.children)));
    PutInt(format.settings[0]);
    PutInt(format.settings[1]);
    PutInt(format.width);
    WriteChildren(node.children, false);
    Put('}');
    BreakLineIfPast(kRulerBreakColumn);
    size_t stops = 0;
    while (stops < format.tabStops.size() && stops < kMaxTabStops &&
           format.tabStops[stops].position != kFreeTabPosition) {
      ++stops;
    }
    PutInt(static_cast<int32_t>(stops));
    for (size_t i = 0; i < stops; ++i) {
      PutInt(format.tabStops[i].kind);
      PutInt(format.tabStops[i].position);
    }
    PutInt(format.rulerSetting);
    PutInt(kRulerFiller);
    PutInt(kRulerFiller);
    Put('}');
  }

  void WriteSelection(const CommentSelection& selection) {
    Put('`');
    Put('c');
    for (const CommentPath* path : {&selection.start, &selection.end}) {
      for (int32_t index : *path) PutInt(index);
      PutInt(kPathEnd);
    }
    Put('}');
  }

  const CommentWriteOptions& options_;
  std::string out_;
  size_t lineStart_ = 0;
  Run lastRun_ = Run::kNone;
  // The current state; empty until the first node sets it, so that the
  // first node writes every command.
  std::optional<uint8_t> colour_;
  std::optional<std::pair<std::string, char>> font_;
  std::optional<int32_t> size_;
  std::optional<int32_t> bits_;
  std::vector<std::pair<std::string, char>> fonts_;
};

}  // namespace

size_t WordReadBackCount(std::string_view text) {
  size_t count = 0;
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    ++count;
    if (!IsPlainWordChar(c)) {
      ++i;
      continue;
    }
    const bool digits = IsPlainDigit(c);
    const size_t limit = digits ? kMaxWordDigits : kMaxWordLetters;
    size_t run = 0;
    while (i < text.size() && run < limit) {
      const auto d = static_cast<unsigned char>(text[i]);
      if (digits ? !IsPlainDigit(d) : !IsPlainLetter(d)) break;
      ++i;
      ++run;
    }
  }
  return count;
}

void WriteComment(const CommentTree& tree, std::string& sink, const CommentWriteOptions& options) {
  if (tree.root.kind != CommentNodeKind::kParagraph ||
      options.lineTag.find('|') != std::string::npos) {
    InternalError("WriteComment");
  }
  CheckNode(tree.root, 0, false);
  sink.append(CommentWriter(options).Write(tree));
}

std::string CommentFormText(const CommentTree& tree, const CommentWriteOptions& options) {
  std::string text;
  WriteComment(tree, text, options);
  return text;
}

}  // namespace lemmabox
