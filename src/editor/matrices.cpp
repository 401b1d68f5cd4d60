// Matrices and placeholders: deleting blocks of cells and question marks,
// typing into several cells at once, new rows and columns, and the numbering
// of cells by Row/Column Number.
#include <algorithm>
#include <cstdint>

#include "editor/editing.h"
#include "editor/positions.h"
#include "mathobj/constructors.h"
#include "mathobj/slots.h"
#include "platform/platform.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

// The settings the "Insert Index" dialog opens with: the last ones chosen.
InsertIndexSettings gIndexSettings;

void DeleteColumns(Handle m, int from, int to) {
  const int rows = MatrixRows(m);
  const int cols = MatrixCols(m);
  for (int r = rows - 1; r >= 0; --r) DeleteSlots(m, r * cols + from, r * cols + to);
  SetMatrixDims(m, rows, cols - (to - from));
}

void DeleteRows(Handle m, int from, int to) {
  const int rows = MatrixRows(m);
  const int cols = MatrixCols(m);
  DeleteSlots(m, from * cols, to * cols);
  SetMatrixDims(m, rows - (to - from), cols);
}

// The cell at (row, col) of obj's matrix when obj is a cell of one, else null.
Handle MatrixOfCell(Handle obj) {
  Handle parent = ObjParent(obj);
  return parent != nullptr && ObjType(parent) == kMatrix ? parent : nullptr;
}

// The matrix cell the selection lies in, searching upward; a matrix that is
// the subscript list of an index does not count.
bool FindCell(Handle obj, int& row, int& col) {
  for (Handle child = obj, level = ObjParent(obj); level != nullptr;
       child = level, level = ObjParent(level)) {
    if (ObjType(level) != kMatrix) continue;
    Handle above = ObjParent(level);
    if (above != nullptr && ObjType(above) == kIndex && ObjSlotIndex(level) == 1) continue;
    const int k = ObjSlotIndex(child);
    row = k / MatrixCols(level);
    col = k % MatrixCols(level);
    return true;
  }
  return false;
}

void RowColumnNumber(const Selection& selection) {
  int row = 0;
  int col = 0;
  if (!FindCell(selection.obj, row, col)) Raise(kMsgInsertOnlyInMatrix);
  InsertIndexSettings settings = gIndexSettings;
  if (!CurrentPlatform().AskInsertIndex(settings)) {
    Caret(selection.obj, selection.position);
    return;
  }
  gIndexSettings = settings;
  // Row and column steps of "Row Index", "Column Index", "Row + Column",
  // "Row - Column" and "Column - Row".
  static constexpr int kSteps[][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}, {-1, 1}};
  const int choice = settings.choice >= 1 && settings.choice <= 5 ? settings.choice - 1 : 0;
  const int64_t value =
      int64_t{row} * kSteps[choice][0] + int64_t{col} * kSteps[choice][1] + settings.offset;
  Handle number = value >= INT32_MIN && value <= INT32_MAX ? NewInteger(static_cast<int32_t>(value))
                                                           : NewReal(static_cast<double>(value));
  InsertAtSelection(number, selection, number, kPosCaretAfter);
}

void NewRowOrColumn(Handle m, bool row) {
  CheckRoomFor(m, row ? MatrixCols(m) : MatrixRows(m));
  SaveForUndo(m);
  if (row) {
    MatrixAppendRow(m);
  } else {
    MatrixAppendColumn(m);
  }
  Changed(m);
  const int r = row ? MatrixRows(m) - 1 : 0;
  const int c = row ? 0 : MatrixCols(m) - 1;
  Caret(MatrixElement(m, r, c), kPosWhole);
}

}  // namespace

bool MatrixCommand(KeyContext& context) {
  const Selection& selection = context.selection;
  switch (context.code) {
    case kCmdRowColumnNumber:
      RowColumnNumber(selection);
      return true;
    case kCmdNewMatrixRow:
    case kCmdNewMatrixColumn: {
      Handle m = ObjType(selection.obj) == kMatrix ? selection.obj : MatrixOfCell(selection.obj);
      if (m == nullptr) return false;
      NewRowOrColumn(m, context.code == kCmdNewMatrixRow);
      return true;
    }
    default:
      return false;
  }
}

void DeleteMatrixBlock(const Selection& selection) {
  Handle m = selection.obj;
  if (!IsBlockPosition(m, selection.position) || CoversWhole(selection)) {
    Caret(ReplaceObj(m, NewQuestionMark()), kPosWhole);
    return;
  }
  const Block b = BlockOf(m, selection.position);
  const int rows = MatrixRows(m);
  const int cols = MatrixCols(m);
  if (b.Cells() == 0) {
    Caret(m, selection.position);
    return;
  }
  const bool wholeColumns = b.row0 == 0 && b.row1 == rows;
  const bool wholeRows = b.col0 == 0 && b.col1 == cols;
  if (!wholeColumns && !wholeRows) {
    // Cells only: each becomes a question mark.
    SaveForUndo(m);
    for (int r = b.row0; r < b.row1; ++r)
      for (int c = b.col0; c < b.col1; ++c) PutSlot(m, r * cols + c, NewQuestionMark());
    Changed(m);
    Caret(MatrixElement(m, b.row0, b.col0), kPosWhole);
    return;
  }
  SaveForUndo(m);
  if (wholeColumns) {
    DeleteColumns(m, b.col0, b.col1);
  } else {
    DeleteRows(m, b.row0, b.row1);
  }
  if (ObjCount(m) == 1) {
    Handle only = ReplaceByOperand(m, 0);
    Caret(only, kPosWhole);
    return;
  }
  Changed(m);
  const int r = std::min(b.row0, MatrixRows(m) - 1);
  const int c = std::min(b.col0, MatrixCols(m) - 1);
  Caret(MatrixElement(m, wholeColumns ? 0 : r, wholeColumns ? c : 0), kPosWhole);
}

bool TypeIntoBlock(KeyContext& context) {
  const Selection selection = context.selection;
  Handle m = selection.obj;
  const CommandCode code = context.code;
  const int cls = ClassOfCode(code);
  if (cls != kCharOperator && cls != kCharLetter && cls != kCharDigit) return false;
  const Block b = BlockOf(m, selection.position);
  std::vector<Selection> cells;
  for (int r = b.row0; r < b.row1; ++r)
    for (int c = b.col0; c < b.col1; ++c) cells.push_back({MatrixElement(m, r, c), kPosWhole});
  PendingSelections watch(cells);
  for (const Selection& cell : cells) {
    if (cell.obj == nullptr) continue;
    if (cls == kCharOperator) {
      InsertOperatorAt(cell, static_cast<uint8_t>(code));
      continue;
    }
    const char text[2] = {static_cast<char>(code), 0};
    Handle made = cls == kCharDigit ? NewNumberText(text) : NewUndeclaredName(text);
    Caret(ReplaceObj(cell.obj, made), PackRange(1, 1));
  }
  return true;
}

void DeleteQuestionMark(Handle question) {
  Handle parent = ObjParent(question);
  const int k = ObjSlotIndex(question);
  const TypeCode type = ObjType(parent);
  const int count = ObjCount(parent);
  if (IsPropositionType(type)) {
    Caret(question, kPosWhole);
    return;
  }
  if (type == kMatrix) {
    const int rows = MatrixRows(parent);
    const int cols = MatrixCols(parent);
    if (count == 2) {
      Caret(ReplaceByOperand(parent, 1 - k), kPosWhole);
    } else if (rows == 1) {
      SaveForUndo(parent);
      DeleteColumns(parent, k, k + 1);
      Changed(parent);
      Caret(ObjSlot(parent, k > 0 ? k - 1 : 0), kPosWhole);
    } else if (cols == 1) {
      SaveForUndo(parent);
      DeleteRows(parent, k, k + 1);
      Changed(parent);
      Caret(ObjSlot(parent, k > 0 ? k - 1 : 0), kPosWhole);
    } else {
      // Inside a grid nothing is deleted: the caret goes back a cell.
      Caret(ObjSlot(parent, k > 0 ? k - 1 : 0), kPosWhole);
    }
    return;
  }
  if (const int least = FewestSlots(type); least > 0) {
    // Limits and bounds come and go; the body's question mark stands for
    // the whole object.
    if (k > 0 && count > least) {
      DeleteOperands(parent, k, k + 1);
      Handle last = ObjSlot(parent, ObjCount(parent) - 1);
      Caret(last != nullptr ? last : parent, kPosCaretAfter);
    } else {
      Caret(ReplaceObj(parent, NewQuestionMark()), kPosWhole);
    }
    return;
  }
  if (IsOperandListType(type) && count > 2) {
    DeleteOperands(parent, k, k + 1);
    if (k > 0) {
      Caret(ObjSlot(parent, k - 1), kPosCaretAfter);
    } else {
      Caret(ObjSlot(parent, 0), kPosCaretBefore);
    }
    return;
  }
  if (count == 2) {
    // The other operand takes the object's place, the caret where the
    // question mark stood.
    Handle other = ReplaceByOperand(parent, 1 - k);
    Caret(other, k == 0 ? kPosCaretBefore : kPosCaretAfter);
    return;
  }
  if (count == 1) {
    Caret(ReplaceObj(parent, NewQuestionMark()), kPosWhole);
    return;
  }
  Caret(question, kPosWhole);
}

}  // namespace lemmabox
