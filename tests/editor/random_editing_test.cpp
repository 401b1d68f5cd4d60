// Random command codes at random selections: whatever is typed, the tree
// stays sound (every object held by the slot its header names), every
// selection stays on a live object of the notebook, nothing reports an
// internal error, and every statement built reads back from what the writer
// writes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editing_helpers.h"
#include "editor/positions.h"
#include "mathobj/predefined.h"
#include "mathobj/slots.h"
#include "mathobj/types.h"
#include "notebook/expression_writer.h"
#include "notebook/propositions.h"
#include "shell/failure.h"
#include "support/typing.h"

namespace lemmabox::testing {
namespace {

void Collect(Handle obj, std::vector<Handle>& out) {
  if (obj == nullptr) return;
  out.push_back(obj);
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i) Collect(ObjSlot(obj, i), out);
}

bool InNotebook(Handle obj, Handle notebook) {
  for (Handle h = obj; h != nullptr; h = ObjParent(h)) {
    if (h == notebook) return true;
    Handle parent = ObjParent(h);
    if (parent != nullptr &&
        (ObjSlotIndex(h) >= ObjCount(parent) || ObjSlot(parent, ObjSlotIndex(h)) != h))
      return false;
  }
  return false;
}

int32_t RandomPosition(std::mt19937& random, Handle obj) {
  std::uniform_int_distribution<int> pick(0, 5);
  switch (pick(random)) {
    case 0:
      return kPosWhole;
    case 1:
      return kPosWholeOperand;
    case 2:
      return kPosCaretBefore;
    case 3:
      return kPosCaretAfter;
    default:
      break;
  }
  if (ObjType(obj) == kMatrix) {
    std::uniform_int_distribution<int> row(0, MatrixRows(obj) - 1), col(0, MatrixCols(obj) - 1);
    const int r = row(random), c = col(random);
    return PackBlock(r, c, r + 1 + (random() % (MatrixRows(obj) - r)),
                     c + 1 + (random() % (MatrixCols(obj) - c)));
  }
  const int length = SelectionLength(obj);
  if (length <= 0 || (!IsTextType(ObjType(obj)) && !IsOperandListType(ObjType(obj))))
    return kPosWhole;
  std::uniform_int_distribution<int> at(0, length);
  int a = at(random), b = at(random);
  if (a > b) std::swap(a, b);
  return PackRange(a, b);
}

std::vector<CommandCode> CodePool() {
  std::vector<CommandCode> pool;
  for (char c : std::string("abxyz0129+-*/^_=<>!()[]{}|\\.,;:@#$?' e`"))
    pool.push_back(TypeCharCommand(c));
  for (uint8_t c :
       {0xB2, 0xB3, 0xAD, 0xA4, 0xA5, 0xA6, 0xA2, 0xA3, 0xD0, 0xD1, 0xD2, 0xD3, 8, 9, 10})
    pool.push_back(TypeCharCommand(c));
  for (CommandCode code : {kCmdBackspace,
                           kCmdClear,
                           kCmdNextQuestionMark,
                           kCmdNewAssumption,
                           kCmdCaretAfterOperand,
                           kCmdMoveLeft,
                           kCmdMoveRight,
                           kCmdMoveUp,
                           kCmdMoveDown,
                           kCmdSelectIn,
                           kCmdSelectOut,
                           kCmdSelectAll,
                           kCmdSelectFirst,
                           kCmdUndo,
                           kCmdCut,
                           kCmdCopy,
                           kCmdPaste,
                           kCmdNewMatrixRow,
                           kCmdNewMatrixColumn,
                           kCmdRowColumnNumber,
                           kCmdTemplatePower,
                           kCmdTemplateQuotient,
                           kCmdTemplateSquareRoot,
                           kCmdTemplateEvaluateAt,
                           kCmdTemplateConditional,
                           kCmdTemplateSummation,
                           kCmdTemplateIteratedProduct,
                           kCmdTemplateDerivative,
                           kCmdTemplateLimit,
                           kCmdTemplateDifference,
                           kCmdTemplateIndefiniteIntegral,
                           kCmdWildcardBase + 'q',
                           SymbolCharCommand('p'),
                           MatrixCommand(2, 2),
                           MatrixCommand(1, 3),
                           kCmdIndentRight,
                           kCmdIndentLeft})
    pool.push_back(code);
  return pool;
}

void RunRandomSession(unsigned seed, bool fortranish, int steps) {
  std::mt19937 random(seed);
  TypingSession s({.fortranish = fortranish, .predefinedNames = seed % 2 == 0});
  // Names are variables: whether a name before brackets is a function
  // depends on how it was first typed, which a script does not repeat.
  s.Platform().nameAnswers.assign(10000, kNameVariable);
  const std::vector<CommandCode> pool = CodePool();
  const char* clipboards[] = {"a+b", "1\t2\n3\t4\n", "x~q", "(((", "f(x)=?a", "12\n34\n"};
  std::uniform_int_distribution<size_t> code(0, pool.size() - 1);
  for (int step = 0; step < steps; ++step) {
    if (random() % 4 == 0) {
      std::vector<Handle> objects;
      for (int i = FirstObjSlot(s.Notebook()); i < ObjCount(s.Notebook()); ++i)
        Collect(ObjSlot(s.Notebook(), i), objects);
      if (!objects.empty()) {
        Handle obj = objects[random() % objects.size()];
        s.Select(obj, RandomPosition(random, obj));
      }
    }
    if (random() % 16 == 0) s.Platform().clipboard = clipboards[random() % 6];
    const CommandCode pressed = pool[code(random)];
    try {
      s.Press(pressed);
      if (random() % 32 == 0) s.Commit();
    } catch (const InternalFailure& failure) {
      ClearInternalErrorFlag();
      FAIL() << "seed " << seed << " step " << step << " code " << std::hex << pressed
             << ": internal error " << failure.name;
    }
    ASSERT_TRUE(LinksAgree(s.Notebook())) << "seed " << seed << " step " << step;
    for (const Selection& record : s.View().selections) {
      ASSERT_NE(record.obj, nullptr) << "seed " << seed << " step " << step;
      ASSERT_TRUE(InNotebook(record.obj, s.Notebook())) << "seed " << seed << " step " << step;
    }
  }
  s.Commit();
  EXPECT_TRUE(LinksAgree(s.Notebook()));
  // What the writer writes types back into the same tree.
  std::vector<Handle> statements;
  for (int i = FirstProp(s.Notebook()); i < ObjCount(s.Notebook()); ++i) {
    Handle prop = ObjSlot(s.Notebook(), i);
    if (IsAssumptionOrConclusion(ObjType(prop))) statements.push_back(StatementOf(prop));
  }
  for (Handle statement : statements) {
    const std::string text = ExpressionScript(statement);
    TypingSession again({.predefinedNames = seed % 2 == 0});
    again.Platform().nameAnswers.assign(10000, kNameVariable);
    EXPECT_EQ(again.Type(text).Written(), text) << "seed " << seed;
  }
}

TEST(RandomEditing, TreesAndSelectionsStaySound) {
  for (unsigned seed = 1; seed <= 12; ++seed) RunRandomSession(seed, seed % 3 == 0, 500);
}

}  // namespace
}  // namespace lemmabox::testing
