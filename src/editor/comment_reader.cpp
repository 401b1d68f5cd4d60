#include "editor/comment_reader.h"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "editor/comment_writer.h"
#include "editor/compact_integer.h"
#include "shell/alerts.h"
#include "shell/failure.h"
#include "shell/interrupt.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

constexpr int64_t kPathEnd = -9;
// Older writers marked the end of a full ruler with this position in its
// tenth stop.
constexpr int64_t kOlderLastStopMark = 0x1E80;

[[noreturn]] void Corrupt() {
  Raise(kMsgCorruptData);
}

class CommentReader {
 public:
  explicit CommentReader(std::string_view in) : in_(in) {}

  CommentTree Read() {
    for (char mark : kCommentOpenMark) Expect(mark);
    if (Peek() == '#') {
      Get();
      if (Int() > kNewestCommentVersion) Alert(kMsgNewerDataVersion);
    } else {
      older_ = true;
    }
    CommentTree tree;
    tree.root = ReadNode();
    if (tree.root.kind != CommentNodeKind::kParagraph) {
      NodeStyle style = tree.root.style;
      std::vector<CommentNode> only;
      only.push_back(std::move(tree.root));
      tree.root = MakeCommentParagraph(std::move(only), {}, style);
    }
    while (Peek() == '`' && Peek(1) == 'c') {
      Get();
      Get();
      CommentPath start = ReadPath();
      CommentPath end = ReadPath();
      Expect('}');
      tree.selection =
          CommentSelection{ClampCommentPath(tree.root, start), ClampCommentPath(tree.root, end)};
    }
    for (char mark : kCommentCloseMark) Expect(mark);
    tree.background = background_;
    return tree;
  }

  size_t position() const { return pos_; }

 private:
  // What a read in node position found: a node, or the end of a container.
  enum class Item { kNode, kClose, kAngleClose, kBracketClose };

  class Nesting {
   public:
    explicit Nesting(CommentReader& reader) : reader_(reader) {
      if (++reader_.depth_ > kMaxCommentDepth) Corrupt();
    }
    ~Nesting() { --reader_.depth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    CommentReader& reader_;
  };

  int Get() { return pos_ < in_.size() ? static_cast<unsigned char>(in_[pos_++]) : -1; }
  int Peek(size_t ahead = 0) const {
    return pos_ + ahead < in_.size() ? static_cast<unsigned char>(in_[pos_ + ahead]) : -1;
  }
  size_t Remaining() const { return in_.size() - pos_; }
  void Expect(int c) {
    if (Get() != c) Corrupt();
  }
  int64_t Int() {
    return DecodeCompactInteger([this] { return Get(); });
  }
  int64_t IntIn(int64_t low, int64_t high) {
    const int64_t value = Int();
    if (value < low || value > high) Corrupt();
    return value;
  }
  int32_t Int32() {
    return static_cast<int32_t>(
        IntIn(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
  }
  uint8_t Byte() { return static_cast<uint8_t>(Int() & 0xFF); }
  void SkipTo(int c) {
    for (;;) {
      const int d = Get();
      if (d < 0) Corrupt();
      if (d == c) return;
    }
  }
  void SkipLineTags() {
    while (Peek() == '|') {
      Get();
      SkipTo('|');
    }
  }

  CommentNode NewNode(CommentNodeKind kind) const {
    CommentNode node;
    node.kind = kind;
    node.style = state_;
    return node;
  }

  CommentNode ReadNode() {
    CommentNode node;
    if (ReadItem(node) != Item::kNode) Corrupt();
    return node;
  }

  void ExpectClose(Item close) {
    CommentNode ignored;
    if (ReadItem(ignored) != close) Corrupt();
  }

  std::vector<CommentNode> ReadCount(int64_t count) {
    std::vector<CommentNode> nodes;
    nodes.reserve(static_cast<size_t>(std::min<int64_t>(count, Remaining())));
    for (int64_t i = 0; i < count; ++i) nodes.push_back(ReadNode());
    return nodes;
  }

  std::vector<CommentNode> ReadUntilClose() {
    std::vector<CommentNode> nodes;
    for (;;) {
      CommentNode node;
      const Item item = ReadItem(node);
      if (item == Item::kClose) return nodes;
      if (item != Item::kNode || nodes.size() >= kMaxCommentChildren) Corrupt();
      nodes.push_back(std::move(node));
    }
  }

  // State commands, then one token: a node or a container's end.
  Item ReadItem(CommentNode& node) {
    CheckInterrupt();
    for (;;) {
      const int c = Get();
      switch (c) {
        case '"':
          ReadFontDefinition();
          continue;
        case ':':
          SelectFont(Int());
          continue;
        case ';':
          state_.record.SetSize(Int32());
          continue;
        case '&':
          state_.record.SetBits(UnpackStyleBits(Int()));
          continue;
        case '=':
          state_.record.SetBits(UnpackOlderStyleBits(Int()));
          continue;
        case '@':
          // Two settings of older writers that comments no longer use.
          Int();
          Int();
          continue;
        case '|':
          SkipTo('|');
          continue;
        case '`':
          if (ReadGraveItem(node)) return Item::kNode;
          continue;
        case '}':
          return Item::kClose;
        case '>':
          if (older_) return Item::kAngleClose;
          SkipTo('}');
          continue;
        case ']':
          if (older_) return Item::kBracketClose;
          SkipTo('}');
          continue;
        default:
          break;
      }
      if (c < 0x20 || c > 0x7E) Corrupt();
      if (ReadToken(c, node)) return Item::kNode;
      // A command this version does not know runs to the next '}'.
      SkipTo('}');
    }
  }

  // Commands and nodes that start with a grave accent.
  bool ReadGraveItem(CommentNode& node) {
    const int c = Get();
    switch (c) {
      case 'b': {
        const int64_t red = Int();
        const int64_t green = Int();
        const int64_t blue = Int();
        if (red < 0 || green < 0 || blue < 0) {
          background_.reset();
        } else {
          background_ = Rgb{static_cast<uint8_t>(red & 0xFF), static_cast<uint8_t>(green & 0xFF),
                            static_cast<uint8_t>(blue & 0xFF)};
        }
        SkipTo('}');
        return false;
      }
      case 'f':
        state_.colour = Byte();
        SkipTo('}');
        return false;
      case 'g':
        node = ReadPicture();
        return true;
      case 'h':
        node = ReadFence();
        return true;
      case -1:
        Corrupt();
      default:
        SkipTo('}');
        return false;
    }
  }

  // The node tokens other than grave ones; false for an unknown command.
  bool ReadToken(int c, CommentNode& node) {
    if (IsPlainWordChar(static_cast<unsigned char>(c))) {
      node = ReadRun(c);
      return true;
    }
    if (IsEscapeLead(c)) {
      node = NewNode(CommentNodeKind::kWord);
      const int second = Get();
      node.text.push_back(static_cast<char>(DecodeEscapedChar(c, second)));
      return true;
    }
    switch (c) {
      case ' ':
      case '!':  // a tab comes back as a space
        node = NewNode(CommentNodeKind::kSpace);
        return true;
      case '\'': {
        node = NewNode(CommentNodeKind::kSpecial);
        const int64_t kind = Int();
        node.specialKind = kind == kSpecialT ? kSpecialT : kSpecialS;
        return true;
      }
      case '~':
        node = ReadWideWord();
        return true;
      case '_':
        node = NewNode(CommentNodeKind::kSequence);
        return true;
      case '^': {
        Nesting nesting(*this);
        node = NewNode(CommentNodeKind::kSequence);
        node.children.push_back(ReadNode());
        return true;
      }
      case '(':
        node = ReadSequence();
        return true;
      case '{':
        node = ReadPile();
        return true;
      case '[':
        node = ReadGrid();
        return true;
      case '<':
        node = ReadTemplate();
        return true;
      case '$': {
        Nesting nesting(*this);
        node = NewNode(CommentNodeKind::kTemplate);
        node.templateCode = kThreePartTemplate;
        node.children = ReadCount(TemplateCount(kThreePartTemplate));
        return true;
      }
      case ')':
        node = ReadParagraph();
        return true;
      default:
        return false;
    }
  }

  CommentNode ReadRun(int first) {
    CommentNode node = NewNode(CommentNodeKind::kWord);
    node.text.push_back(static_cast<char>(first));
    if (older_) return node;  // the older form keeps one character per word
    const bool digits = IsPlainDigit(static_cast<unsigned char>(first));
    const size_t limit = digits ? kMaxWordDigits : kMaxWordLetters;
    while (node.text.size() < limit) {
      const int c = Peek();
      if (c < 0) break;
      const auto u = static_cast<unsigned char>(c);
      if (digits ? !IsPlainDigit(u) : !IsPlainLetter(u)) break;
      node.text.push_back(static_cast<char>(Get()));
    }
    return node;
  }

  void ReadFontDefinition() {
    const int64_t index = Int();
    std::string name;
    char fontClass = 0;
    while (fontClass == 0) {
      const int c = Get();
      switch (c) {
        case '|':
          fontClass = kFontClassText;
          break;
        case '^':
          fontClass = kFontClassSymbol;
          break;
        case '~':
          fontClass = kFontClassMapped;
          break;
        case '{':
          name.push_back(static_cast<char>(IntIn(0, 255)));
          break;
        default:
          if (c < 0x20 || c == 0x7F) Corrupt();  // also the end of the input
          name.push_back(static_cast<char>(c));
          break;
      }
    }
    if (index != static_cast<int64_t>(fonts_.size())) Corrupt();
    if (fonts_.size() >= kMaxCommentFonts) Raise(kMsgTooManyFontFamilies);
    StyleRecord record;
    record.SetFontName(ResolvedFontName(name));
    fonts_.emplace_back(record.FontName(), fontClass);
  }

  void SelectFont(int64_t index) {
    if (index >= 0 && index < static_cast<int64_t>(fonts_.size())) {
      state_.record.SetFontName(fonts_[index].first);
      state_.fontClass = fonts_[index].second;
    } else {
      state_.record.SetFontName("");
      state_.fontClass = kFontClassUnknown;
    }
  }

  CommentNode ReadPicture() {
    CommentNode node = NewNode(CommentNodeKind::kPicture);
    const int64_t size = IntIn(0, static_cast<int64_t>(Remaining()));
    node.text.reserve(static_cast<size_t>(size));
    while (static_cast<int64_t>(node.text.size()) < size) {
      const int c = Get();
      if (c == '|') {
        SkipTo('|');
      } else if (c >= 0 && IsPlainWordChar(static_cast<unsigned char>(c))) {
        node.text.push_back(static_cast<char>(c));
      } else if (IsEscapeLead(c)) {
        const int second = Get();
        node.text.push_back(static_cast<char>(DecodeEscapedChar(c, second)));
      } else {
        Corrupt();
      }
    }
    SkipLineTags();
    Expect('}');
    return node;
  }

  CommentNode ReadWideWord() {
    CommentNode node = NewNode(CommentNodeKind::kWideWord);
    const int64_t count = IntIn(0, static_cast<int64_t>(Remaining()));
    node.wideText.reserve(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i) {
      node.wideText.push_back(static_cast<uint16_t>(IntIn(-32768, 65535) & 0xFFFF));
    }
    const int order = Get();
    if (order < 0 || !IsPlainLetter(static_cast<unsigned char>(order))) Corrupt();
    if (order == 'B') {
      for (uint16_t& code : node.wideText) code = static_cast<uint16_t>((code >> 8) | (code << 8));
    }
    Expect('}');
    return node;
  }

  CommentNode ReadSequence() {
    Nesting nesting(*this);
    CommentNode node = NewNode(CommentNodeKind::kSequence);
    const int64_t count = IntIn(0, static_cast<int64_t>(kMaxCommentChildren));
    // The older form reads exactly the count it gives, without an end.
    node.children = older_ ? ReadCount(count) : ReadUntilClose();
    return node;
  }

  CommentNode ReadPile() {
    Nesting nesting(*this);
    CommentNode node = NewNode(CommentNodeKind::kPile);
    node.children = ReadCount(IntIn(0, kMaxGridSide));
    if (older_) {
      Expect('}');
    } else {
      ExpectClose(Item::kClose);
    }
    return node;
  }

  CommentNode ReadGrid() {
    Nesting nesting(*this);
    CommentNode node = NewNode(CommentNodeKind::kGrid);
    node.rows = static_cast<int32_t>(IntIn(0, kMaxGridSide));
    node.columns = static_cast<int32_t>(IntIn(0, kMaxGridSide));
    Int();  // always 0
    node.children = ReadCount(int64_t{node.rows} * node.columns);
    if (older_) {
      ExpectClose(Item::kBracketClose);
      Expect('}');
    } else {
      ExpectClose(Item::kClose);
    }
    return node;
  }

  CommentNode ReadTemplate() {
    Nesting nesting(*this);
    CommentNode node = NewNode(CommentNodeKind::kTemplate);
    node.templateCode = static_cast<uint16_t>(Int() & 0xFFFF);
    node.children = ReadCount(TemplateCount(node.templateCode));
    ExpectClose(older_ ? Item::kAngleClose : Item::kClose);
    if (ClassifyTemplate(node.templateCode) == TemplateShape::kInvalid) {
      // A construct this program does not know keeps its content in a row.
      node.kind = CommentNodeKind::kGrid;
      node.rows = 1;
      node.columns = static_cast<int32_t>(node.children.size());
      node.templateCode = 0;
    } else if (node.children.size() == 4 && node.children[1].kind != CommentNodeKind::kSequence) {
      NodeStyle style = node.children[1].style;
      std::vector<CommentNode> only;
      only.push_back(std::move(node.children[1]));
      node.children[1] = MakeCommentSequence(std::move(only), style);
    }
    return node;
  }

  // The older fence token: a header the tree does not keep, then the content.
  CommentNode ReadFence() {
    Nesting nesting(*this);
    CommentNode node = NewNode(CommentNodeKind::kTemplate);
    node.templateCode = MakeTemplateCode(1, kPlainFenceStyle, 1);
    const int64_t flag = Int();
    if (flag == 0) {
      Int();
    } else if (flag == 1) {
      for (;;) {
        const int c = Get();
        if (c < 0) Corrupt();
        if (c == '~') break;
        if (c == '{') Int();
      }
    } else {
      Corrupt();
    }
    node.children.push_back(ReadNode());
    ExpectClose(Item::kClose);
    return node;
  }

  CommentNode ReadParagraph() {
    Nesting nesting(*this);
    CommentNode node = NewNode(CommentNodeKind::kParagraph);
    ParagraphFormat& format = node.paragraph;
    IntIn(0, static_cast<int64_t>(kMaxCommentChildren));  // the count, read up to the end
    format.settings[0] = Byte();
    format.settings[1] = Byte();
    format.width = Int32();
    node.children = ReadUntilClose();
    SkipLineTags();
    const auto stops = static_cast<size_t>(IntIn(0, static_cast<int64_t>(kMaxTabStops)));
    bool free = false;
    for (size_t i = 0; i < stops; ++i) {
      const auto kind = static_cast<uint8_t>(IntIn(0, kMaxTabKind));
      int64_t position = IntIn(0, kFreeTabPosition);
      if (i == kMaxTabStops - 1 && position == kOlderLastStopMark) position = kFreeTabPosition;
      // Stops after a free one are unused.
      free = free || position == kFreeTabPosition;
      if (!free) format.tabStops.push_back({kind, static_cast<uint16_t>(position)});
    }
    format.rulerSetting = Byte();
    Int();
    Int();
    SkipLineTags();
    Expect('}');
    return node;
  }

  CommentPath ReadPath() {
    CommentPath path;
    for (;;) {
      const int64_t index = Int();
      if (index == kPathEnd) return path;
      // Anything beyond 32 bits is out of range; ClampCommentPath stops there.
      path.push_back(index >= 0 && index <= std::numeric_limits<int32_t>::max()
                         ? static_cast<int32_t>(index)
                         : -1);
    }
  }

  std::string_view in_;
  size_t pos_ = 0;
  bool older_ = false;
  int depth_ = 0;
  NodeStyle state_;
  std::vector<std::pair<std::string, char>> fonts_;
  std::optional<Rgb> background_;
};

}  // namespace

CommentTree ReadComment(std::string_view bytes, size_t* consumed) {
  CommentReader reader(bytes);
  CommentTree tree = reader.Read();
  if (consumed != nullptr) *consumed = reader.position();
  return tree;
}

std::optional<CommentTree> FindCommentForm(std::string_view bytes) {
  const size_t at = bytes.find(kCommentOpenMark);
  if (at == std::string_view::npos) return std::nullopt;
  return ReadComment(bytes.substr(at));
}

}  // namespace lemmabox
