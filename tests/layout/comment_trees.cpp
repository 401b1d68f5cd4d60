#include "comment_trees.h"

#include <map>
#include <utility>
#include <vector>

#include "editor/comment_plain_text.h"
#include "editor/comment_tree.h"
#include "mathobj/constructors.h"

namespace lemmabox::testing {
namespace {

std::map<Handle, CommentTree>& Trees() {
  static std::map<Handle, CommentTree> trees;
  return trees;
}

NodeStyle Look(int32_t points, bool bold = false, uint8_t colour = 0) {
  NodeStyle style;
  style.record.SetSize(points);
  StyleBits bits;
  bits.a[0] = bold ? 1 : 0;
  style.record.SetBits(bits);
  style.colour = colour;
  return style;
}

Handle Keep(CommentTree tree) {
  Handle comment = NewObj('Q', 0);
  Trees()[comment] = std::move(tree);
  return comment;
}

}  // namespace

const CommentTree* TestCommentTree(Handle comment) {
  auto found = Trees().find(comment);
  return found == Trees().end() ? nullptr : &found->second;
}

void ForgetTestComments() {
  Trees().clear();
}

Handle NewPlainComment(const std::string& text, int32_t points, bool bold, uint8_t colour) {
  return Keep(CommentFromPlainText(text, Look(points, bold, colour)));
}

Handle NewInheritingComment(int32_t points) {
  CommentTree tree = NewCommentTree();
  const NodeStyle surroundings = Look(kSurroundingsSize);
  tree.root.children.push_back(
      MakeCommentSequence({MakeCommentWord("inner", surroundings), MakeCommentSpace(surroundings),
                           MakeCommentWord("words", surroundings)},
                          Look(points)));
  return Keep(std::move(tree));
}

Handle NewConstructsComment() {
  const NodeStyle plain = Look(12);
  CommentTree tree = NewCommentTree(plain);
  std::vector<CommentNode>& row = tree.root.children;
  row.push_back(MakeCommentWord("Let", plain));
  row.push_back(MakeCommentSpace(plain));
  row.push_back(MakeCommentTemplate(MakeTemplateCode(0, 3, 2),
                                    {MakeCommentWord("a", plain), MakeCommentWord("b", plain)},
                                    plain));
  row.push_back(MakeCommentSpace(plain));
  row.push_back(MakeCommentGrid(2, 2,
                                {MakeCommentWord("1", plain), MakeCommentWord("0", plain),
                                 MakeCommentWord("0", plain), MakeCommentWord("1", plain)},
                                plain));
  row.push_back(MakeCommentSpace(plain));
  row.push_back(MakeCommentFence(kPlainFenceStyle, MakeCommentWord("x", plain), plain));
  row.push_back(MakeCommentTemplate(MakeTemplateCode(0, 1, 2),
                                    {MakeCommentWord("e", plain), MakeCommentWord("2", plain)},
                                    plain));
  row.push_back(MakeCommentSpace(plain));
  row.push_back(MakeCommentPicture("picture bytes", plain));
  row.push_back(MakeCommentParagraph({MakeCommentWord("Below.", plain)}, {}, plain));
  return Keep(std::move(tree));
}

}  // namespace lemmabox::testing
