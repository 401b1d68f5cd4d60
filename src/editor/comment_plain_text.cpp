#include "editor/comment_plain_text.h"

#include <utility>
#include <vector>

#include "editor/comment_writer.h"

namespace lemmabox {
namespace {

// Long words are cut into adjacent words so that any line can be divided
// into paragraphs the text form carries.
constexpr size_t kMaxPlainWordLength = 1000;

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' && text[i] != '\r') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

std::vector<CommentNode> LineNodes(std::string_view line, const NodeStyle& style) {
  std::vector<CommentNode> nodes;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ') {
      nodes.push_back(MakeCommentSpace(style));
      ++i;
    } else if (line[i] == '\t') {
      nodes.push_back(MakeCommentTab(style));
      ++i;
    } else {
      size_t end = i;
      while (end < line.size() && end - i < kMaxPlainWordLength && line[end] != ' ' &&
             line[end] != '\t') {
        ++end;
      }
      nodes.push_back(MakeCommentWord(std::string(line.substr(i, end - i)), style));
      i = end;
    }
  }
  return nodes;
}

size_t ReadBackCount(const CommentNode& node) {
  return node.kind == CommentNodeKind::kWord ? WordReadBackCount(node.text) : 1;
}

// Divides nodes into paragraphs that each read back as at most the number of
// children a paragraph may have.
std::vector<CommentNode> ParagraphsOf(std::vector<CommentNode> nodes, const NodeStyle& style) {
  std::vector<CommentNode> paragraphs;
  std::vector<CommentNode> current;
  size_t count = 0;
  for (CommentNode& node : nodes) {
    const size_t n = ReadBackCount(node);
    if (count + n > kMaxCommentChildren) {
      paragraphs.push_back(MakeCommentParagraph(std::move(current), {}, style));
      current.clear();
      count = 0;
    }
    current.push_back(std::move(node));
    count += n;
  }
  paragraphs.push_back(MakeCommentParagraph(std::move(current), {}, style));
  return paragraphs;
}

std::string ParagraphText(const CommentNode& paragraph);

void AppendInline(const CommentNode& node, std::string& out) {
  switch (node.kind) {
    case CommentNodeKind::kWord:
      out += node.text;
      return;
    case CommentNodeKind::kSpace:
      out += ' ';
      return;
    case CommentNodeKind::kTab:
      out += '\t';
      return;
    case CommentNodeKind::kWideWord:
      for (uint16_t code : node.wideText) {
        out += static_cast<char>(code & 0xFF);
        if (code >> 8) out += static_cast<char>(code >> 8);
      }
      return;
    case CommentNodeKind::kParagraph:
      out += ParagraphText(node);
      return;
    case CommentNodeKind::kPile:
    case CommentNodeKind::kGrid:
      for (size_t i = 0; i < node.children.size(); ++i) {
        if (i > 0) out += ' ';
        AppendInline(node.children[i], out);
      }
      return;
    case CommentNodeKind::kSequence:
    case CommentNodeKind::kTemplate:
      for (const CommentNode& child : node.children) AppendInline(child, out);
      return;
    case CommentNodeKind::kSpecial:
    case CommentNodeKind::kPicture:
      return;
  }
}

// Nested paragraphs are lines of their own; the inline nodes between them
// form lines too.
std::string ParagraphText(const CommentNode& paragraph) {
  std::string text;
  std::string line;
  bool lineOpen = false;
  bool first = true;
  auto endLine = [&](const std::string& content) {
    if (!first) text += '\n';
    text += content;
    first = false;
  };
  for (const CommentNode& child : paragraph.children) {
    if (child.kind == CommentNodeKind::kParagraph) {
      if (lineOpen) endLine(line);
      line.clear();
      lineOpen = false;
      endLine(ParagraphText(child));
    } else {
      AppendInline(child, line);
      lineOpen = true;
    }
  }
  if (lineOpen || first) endLine(line);
  return text;
}

}  // namespace

CommentTree CommentFromPlainText(std::string_view text, const NodeStyle& style) {
  CommentTree tree = NewCommentTree(style);
  const std::vector<std::string_view> lines = SplitLines(text);
  std::vector<CommentNode> paragraphs;
  for (std::string_view line : lines) {
    for (CommentNode& paragraph : ParagraphsOf(LineNodes(line, style), style)) {
      paragraphs.push_back(std::move(paragraph));
    }
  }
  if (paragraphs.size() == 1) {
    tree.root.children = std::move(paragraphs.front().children);
    return tree;
  }
  // Group the lines when there are more than a paragraph may hold; nested
  // groups still read as the same lines.
  while (paragraphs.size() > kMaxCommentChildren)
    paragraphs = ParagraphsOf(std::move(paragraphs), style);
  tree.root.children = std::move(paragraphs);
  return tree;
}

std::string PlainTextFromComment(const CommentNode& root) {
  return ParagraphText(root);
}

}  // namespace lemmabox
