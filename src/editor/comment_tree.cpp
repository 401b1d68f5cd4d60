#include "editor/comment_tree.h"

#include <ostream>
#include <sstream>
#include <utility>

#include "shell/failure.h"

namespace lemmabox {
namespace {

CommentNode MakeNode(CommentNodeKind kind, const NodeStyle& style) {
  CommentNode node;
  node.kind = kind;
  node.style = style;
  return node;
}

CommentNode MakeContainer(CommentNodeKind kind, std::vector<CommentNode> children,
                          const NodeStyle& style) {
  CommentNode node = MakeNode(kind, style);
  node.children = std::move(children);
  return node;
}

// Words end a path: their last index is a character offset.
bool IsTextLeaf(const CommentNode& node) {
  return node.kind == CommentNodeKind::kWord || node.kind == CommentNodeKind::kWideWord;
}

size_t TextLength(const CommentNode& node) {
  return node.kind == CommentNodeKind::kWord ? node.text.size() : node.wideText.size();
}

void Describe(const CommentNode& node, std::ostream& os) {
  static const NodeStyle kPlain;
  if (!(node.style == kPlain)) {
    const StyleRecord& r = node.style.record;
    os << '{' << r.FontName() << ',' << node.style.fontClass << ',' << r.Size() << ",&"
       << PackStyleBits(r.Bits()) << ",c" << int{node.style.colour} << '}';
  }
  auto children = [&] {
    os << '[';
    for (size_t i = 0; i < node.children.size(); ++i) {
      if (i > 0) os << ' ';
      Describe(node.children[i], os);
    }
    os << ']';
  };
  switch (node.kind) {
    case CommentNodeKind::kParagraph: {
      const ParagraphFormat& f = node.paragraph;
      os << "P(" << int{f.settings[0]} << ',' << int{f.settings[1]} << ',' << f.width << ",r"
         << int{f.rulerSetting};
      for (const TabStop& stop : f.tabStops) os << ',' << int{stop.kind} << '@' << stop.position;
      os << ')';
      children();
      return;
    }
    case CommentNodeKind::kWord:
      os << "W\"";
      for (unsigned char c : node.text) {
        if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
          os << c;
        } else {
          os << "\\x" << std::hex << int{c} << std::dec << ';';
        }
      }
      os << '"';
      return;
    case CommentNodeKind::kSpace:
      os << '_';
      return;
    case CommentNodeKind::kTab:
      os << "Tab";
      return;
    case CommentNodeKind::kSpecial:
      os << "Sp" << node.specialKind;
      return;
    case CommentNodeKind::kPicture:
      os << "Pic" << node.text.size();
      return;
    case CommentNodeKind::kWideWord:
      os << "WW(";
      for (size_t i = 0; i < node.wideText.size(); ++i) os << (i ? "," : "") << node.wideText[i];
      os << ')';
      return;
    case CommentNodeKind::kSequence:
      os << 'S';
      children();
      return;
    case CommentNodeKind::kPile:
      os << "Pile";
      children();
      return;
    case CommentNodeKind::kGrid:
      os << "Grid" << node.rows << 'x' << node.columns;
      children();
      return;
    case CommentNodeKind::kTemplate:
      os << "T" << std::hex << node.templateCode << std::dec;
      children();
      return;
  }
  os << '?';
}

}  // namespace

bool CommentNode::IsContainer() const {
  switch (kind) {
    case CommentNodeKind::kParagraph:
    case CommentNodeKind::kSequence:
    case CommentNodeKind::kPile:
    case CommentNodeKind::kGrid:
    case CommentNodeKind::kTemplate:
      return true;
    default:
      return false;
  }
}

CommentTree NewCommentTree(const NodeStyle& style) {
  CommentTree tree;
  tree.root = MakeCommentParagraph({}, {}, style);
  return tree;
}

CommentNode MakeCommentWord(std::string text, const NodeStyle& style) {
  CommentNode node = MakeNode(CommentNodeKind::kWord, style);
  node.text = std::move(text);
  return node;
}

CommentNode MakeCommentSpace(const NodeStyle& style) {
  return MakeNode(CommentNodeKind::kSpace, style);
}

CommentNode MakeCommentTab(const NodeStyle& style) {
  return MakeNode(CommentNodeKind::kTab, style);
}

CommentNode MakeCommentSpecial(int32_t kind, const NodeStyle& style) {
  CommentNode node = MakeNode(CommentNodeKind::kSpecial, style);
  node.specialKind = kind;
  return node;
}

CommentNode MakeCommentPicture(std::string bytes, const NodeStyle& style) {
  CommentNode node = MakeNode(CommentNodeKind::kPicture, style);
  node.text = std::move(bytes);
  return node;
}

CommentNode MakeCommentWideWord(std::vector<uint16_t> codes, const NodeStyle& style) {
  CommentNode node = MakeNode(CommentNodeKind::kWideWord, style);
  node.wideText = std::move(codes);
  return node;
}

CommentNode MakeCommentSequence(std::vector<CommentNode> children, const NodeStyle& style) {
  return MakeContainer(CommentNodeKind::kSequence, std::move(children), style);
}

CommentNode MakeCommentPile(std::vector<CommentNode> children, const NodeStyle& style) {
  return MakeContainer(CommentNodeKind::kPile, std::move(children), style);
}

CommentNode MakeCommentGrid(int32_t rows, int32_t columns, std::vector<CommentNode> cells,
                            const NodeStyle& style) {
  if (rows < 0 || columns < 0 || int64_t{rows} * columns != static_cast<int64_t>(cells.size())) {
    InternalError("MakeCommentGrid");
  }
  CommentNode node = MakeContainer(CommentNodeKind::kGrid, std::move(cells), style);
  node.rows = rows;
  node.columns = columns;
  return node;
}

CommentNode MakeCommentTemplate(uint16_t code, std::vector<CommentNode> children,
                                const NodeStyle& style) {
  if (static_cast<size_t>(TemplateCount(code)) != children.size()) {
    InternalError("MakeCommentTemplate");
  }
  CommentNode node = MakeContainer(CommentNodeKind::kTemplate, std::move(children), style);
  node.templateCode = code;
  return node;
}

CommentNode MakeCommentFence(uint8_t fenceStyle, CommentNode content, const NodeStyle& style) {
  std::vector<CommentNode> children;
  children.push_back(std::move(content));
  return MakeCommentTemplate(MakeTemplateCode(1, fenceStyle, 1), std::move(children), style);
}

CommentNode MakeCommentParagraph(std::vector<CommentNode> children, ParagraphFormat format,
                                 const NodeStyle& style) {
  CommentNode node = MakeContainer(CommentNodeKind::kParagraph, std::move(children), style);
  node.paragraph = std::move(format);
  return node;
}

TemplateShape ClassifyTemplate(uint16_t code) {
  const int count = TemplateCount(code);
  const int style = TemplateStyle(code);
  switch (TemplateFamily(code)) {
    case 0:
      if (count != 2) return TemplateShape::kInvalid;
      if (style == 3) return TemplateShape::kTwoSlot;
      if (style == 1 || style == 2 || style == 5 || style == 6 || style == 7) {
        return TemplateShape::kScriptLike;
      }
      return TemplateShape::kInvalid;
    case 1:
      return count == 1 ? TemplateShape::kFence : TemplateShape::kInvalid;
    case 2:
      return count == 3 ? TemplateShape::kThreeSlot : TemplateShape::kInvalid;
    case 4:
      return count == 1 ? TemplateShape::kOneSlot : TemplateShape::kInvalid;
    case 5:
      return count != 0 ? TemplateShape::kManySlot : TemplateShape::kInvalid;
    default:
      return TemplateShape::kInvalid;
  }
}

CommentPath ClampCommentPath(const CommentNode& root, const CommentPath& path) {
  CommentPath kept;
  const CommentNode* node = &root;
  for (int32_t index : path) {
    if (index < 0) break;
    if (IsTextLeaf(*node)) {
      if (static_cast<size_t>(index) <= TextLength(*node)) kept.push_back(index);
      break;
    }
    if (static_cast<size_t>(index) >= node->children.size()) break;
    kept.push_back(index);
    node = &node->children[index];
  }
  return kept;
}

std::string DescribeCommentNode(const CommentNode& node) {
  std::ostringstream os;
  Describe(node, os);
  return os.str();
}

void PrintTo(const CommentNode& node, std::ostream* os) {
  Describe(node, *os);
}

void PrintTo(const CommentTree& tree, std::ostream* os) {
  Describe(tree.root, *os);
  if (tree.selection) {
    *os << " sel(";
    for (int32_t i : tree.selection->start) *os << i << ' ';
    *os << "/";
    for (int32_t i : tree.selection->end) *os << ' ' << i;
    *os << ')';
  }
  if (tree.background) {
    *os << " bg(" << int{tree.background->red} << ',' << int{tree.background->green} << ','
        << int{tree.background->blue} << ')';
  }
}

}  // namespace lemmabox
