#include "layout/comment_look.h"

#include <algorithm>

#include "editor/comment_tree.h"

namespace lemmabox {
namespace {

// The comment editor keeps the meaning of the style attributes; drawing
// reads the first three as bold, italic and underline.
CommentLook LookOf(const NodeStyle& style, const CommentLook& surroundings) {
  CommentLook look = surroundings;
  const StyleRecord& record = style.record;
  const std::string family = ResolvedFontName(record.FontName());
  look.family = family.empty() ? kDefaultCommentFont : family;
  const int32_t size = record.Size();
  if (size != kSurroundingsSize && size > 0)
    look.points = std::clamp(size, kMinCommentPoints, kMaxCommentPoints);
  const StyleBits bits = record.Bits();
  look.bold = bits.a[0] != 0;
  look.italic = bits.a[1] != 0;
  look.underline = bits.a[2] != 0;
  look.ownCodes = style.fontClass == kFontClassSymbol;
  const Rgb colour = UnpackColour(style.colour);
  look.red = colour.red;
  look.green = colour.green;
  look.blue = colour.blue;
  return look;
}

// A fence style names its two brackets, one per half byte.
uint8_t FenceBracket(int code) {
  switch (code) {
    case 0:
    case 1:
    case 2:
    case 7:
      return static_cast<uint8_t>(code);
    default:
      return 1;
  }
}

// Double-byte text: characters of the single-byte range as they are, the
// others as question marks.
std::string NarrowText(const std::vector<uint16_t>& codes) {
  std::string text;
  for (uint16_t code : codes) text += code < 0x100 ? static_cast<char>(code) : '?';
  return text;
}

CommentItem ItemOf(const CommentNode& node, const CommentLook& surroundings, int depth) {
  CommentItem item;
  item.look = LookOf(node.style, surroundings);
  switch (node.kind) {
    case CommentNodeKind::kParagraph:
      item.kind = CommentItemKind::kParagraph;
      for (const TabStop& stop : node.paragraph.tabStops)
        if (stop.position != kFreeTabPosition) item.tabStops.push_back(stop.position);
      std::sort(item.tabStops.begin(), item.tabStops.end());
      break;
    case CommentNodeKind::kWord:
      item.kind = CommentItemKind::kWord;
      item.text = node.text;
      return item;
    case CommentNodeKind::kWideWord:
      item.kind = CommentItemKind::kWord;
      item.text = NarrowText(node.wideText);
      return item;
    case CommentNodeKind::kSpace:
      item.kind = CommentItemKind::kSpace;
      return item;
    case CommentNodeKind::kTab:
      item.kind = CommentItemKind::kTab;
      return item;
    case CommentNodeKind::kSpecial:
      item.kind = CommentItemKind::kMark;
      return item;
    case CommentNodeKind::kPicture:
      item.kind = CommentItemKind::kPicture;
      return item;
    case CommentNodeKind::kSequence:
      item.kind = CommentItemKind::kRow;
      break;
    case CommentNodeKind::kPile:
      item.kind = CommentItemKind::kPile;
      break;
    case CommentNodeKind::kGrid:
      item.kind = CommentItemKind::kGrid;
      item.rows = node.rows;
      item.columns = node.columns;
      break;
    case CommentNodeKind::kTemplate: {
      const int style = TemplateStyle(node.templateCode);
      switch (ClassifyTemplate(node.templateCode)) {
        case TemplateShape::kFence:
          item.kind = CommentItemKind::kFence;
          item.leftFence = FenceBracket(style >> 4);
          item.rightFence = FenceBracket(style & 0xF);
          break;
        case TemplateShape::kTwoSlot:
          item.kind = CommentItemKind::kFraction;
          break;
        case TemplateShape::kScriptLike:
          item.kind = CommentItemKind::kScript;
          item.superscript = style % 2 == 1;
          break;
        case TemplateShape::kThreeSlot:
          item.kind = CommentItemKind::kStack;
          break;
        case TemplateShape::kOneSlot:
          item.kind = CommentItemKind::kOverline;
          break;
        default:
          item.kind = CommentItemKind::kRow;
          break;
      }
      break;
    }
  }
  if (depth >= kMaxCommentItemDepth) return item;
  item.children.reserve(node.children.size());
  for (const CommentNode& child : node.children)
    item.children.push_back(ItemOf(child, item.look, depth + 1));
  return item;
}

}  // namespace

CommentItem CommentItemsOf(const CommentTree& tree) {
  CommentLook defaults;
  defaults.family = kDefaultCommentFont;
  defaults.points = kDefaultCommentSize;
  CommentItem root = ItemOf(tree.root, defaults, 0);
  if (root.kind != CommentItemKind::kParagraph) {
    CommentItem paragraph;
    paragraph.kind = CommentItemKind::kParagraph;
    paragraph.look = root.look;
    paragraph.children.push_back(std::move(root));
    return paragraph;
  }
  return root;
}

}  // namespace lemmabox
