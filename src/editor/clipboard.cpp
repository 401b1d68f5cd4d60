#include "editor/clipboard.h"

#include <unordered_map>
#include <vector>

#include "editor/editing.h"
#include "editor/editor_hooks.h"
#include "editor/perform.h"
#include "editor/positions.h"
#include "editor/replay.h"
#include "editor/table_data.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"
#include "notebook/derivation.h"
#include "notebook/expression_writer.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "platform/platform.h"
#include "shell/alerts.h"
#include "shell/charset.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

bool IsLetter(uint8_t c) {
  return ClassOfCode(c) == kCharLetter;
}

// --- Copy ---

// Maps each proposition of an original tree to its copy, containers included.
void MapCopies(Handle original, Handle copy, std::unordered_map<Handle, Handle>& copies) {
  if (original == nullptr || copy == nullptr) return;
  copies[original] = copy;
  if (!IsContainerType(ObjType(original))) return;
  for (int i = FirstObjSlot(original); i < ObjCount(original) && i < ObjCount(copy); ++i) {
    Handle child = ObjSlot(original, i);
    if (child != nullptr && IsPropositionType(ObjType(child)))
      MapCopies(child, ObjSlot(copy, i), copies);
  }
}

// The copied conclusions depend on the copies of their sources; one whose
// source was left behind is an assumption in the copy.
void RelinkContingencies(const std::unordered_map<Handle, Handle>& copies) {
  for (const auto& [original, copy] : copies) {
    if (ObjType(copy) != kConclusion) continue;
    StatementRecord* record = StatementRecordOf(copy);
    if (record == nullptr || record->contingencies == nullptr) continue;
    Handle old = record->contingencies;
    Handle relinked = NewContingencyList();
    bool complete = true;
    for (int i = 0; i < ContingencyCount(old); ++i) {
      auto found = copies.find(ContingencyAt(old, i));
      if (found == copies.end()) {
        complete = false;
        break;
      }
      AddContingency(relinked, found->second);
    }
    if (complete) {
      record->contingencies = relinked;
      FreeContingencyList(old);
    } else {
      FreeContingencyList(relinked);
      ConclusionToAssumption(copy);
    }
  }
}

void AppendCopy(Handle theory, Handle prop, int indentation) {
  Hdr(prop).aux = static_cast<uint8_t>(indentation);
  InsertSlot(theory, ObjCount(theory), prop);
}

// A notebook of the selected propositions (each with its outline group) and
// of the selected expressions (each in an assumption of its own).
Handle CopiedNotebook(const std::vector<Selection>& records) {
  Handle notebook = NewMainTheory();
  std::unordered_map<Handle, Handle> copies;
  for (const Selection& record : records) {
    Handle obj = record.obj;
    if (!IsPropositionType(ObjType(obj))) {
      Handle part = ExtractSelection(record);
      AppendCopy(notebook, NewAssumption(part), 0);
      continue;
    }
    Handle theory = ObjParent(obj);
    if (theory == nullptr || !IsContainerType(ObjType(theory))) continue;
    const int first = ObjSlotIndex(obj);
    const int end = IsInline(obj) ? first + 1 : OutlineEnd(theory, first);
    const int base = RowIndentation(theory, first);
    for (int i = first; i < end; ++i) {
      Handle original = ObjSlot(theory, i);
      if (original == nullptr) continue;
      Handle copy = DupObj(original);
      MapCopies(original, copy, copies);
      const int indentation =
          IsInline(original) && i > first ? kInline : std::max(0, Indentation(original) - base);
      AppendCopy(notebook, copy, i == first && IsInline(original) ? 0 : indentation);
    }
  }
  RelinkContingencies(copies);
  return notebook;
}

std::string NotebookScript(const std::vector<Selection>& records) {
  // Whole notebooks are written by the notebook file writer.
  if (!gTextExportTable.Has(kMainTheory)) Raise(kMsgUnimplemented);
  Handle notebook = CopiedNotebook(records);
  std::string text;
  try {
    TextWriter writer(text);
    WriteObj(notebook, writer);
  } catch (...) {
    DisposeObj(notebook);
    throw;
  }
  DisposeObj(notebook);
  return text;
}

// --- Paste ---

void PasteTable(std::string_view text, const Selection& first) {
  TableData data = ReadTableData(text, false);
  if (data.failure != 0) data = ReadTableData(text, true);
  if (data.failure != 0) {
    MessageBox(ProgramTextToUtf8(TableDataFailureText(data)), "", BoxIcon::kStop, BoxButtons::kOk);
    return;
  }
  if (data.unevenDomain) Alert(kMsgUnevenDomain);
  RunCommand(*FrontView(), false, [&] {
    Handle table = NewTableFromData(data);
    InsertAfter(table, first.obj);
    ClearSelection();
    Changed(table);
    Caret(ObjSlot(table, 0), kPosWhole);
  });
}

// The cell a paste into a matrix types into: the first of the block, or the
// matrix's first when the block lies outside it.
int FirstCellIndex(const Selection& selection) {
  Handle m = selection.obj;
  const Block block = BlockOf(m, selection.position);
  if (block.Cells() == 0) return 0;
  return block.row0 * MatrixCols(m) + block.col0;
}

void PasteText(NotebookView& view, std::string text) {
  RunCommand(view, true, [&] {
    for (const Selection& record : view.selections) {
      if (record.obj == nullptr) continue;
      PrepareChange(record.obj);
      Changed(record.obj);
    }
    Selection primary = PrimarySelection();
    const bool matrix = primary.obj != nullptr && ObjType(primary.obj) == kMatrix;
    std::vector<Selection> target;
    int cell = 0;
    Handle saved = nullptr;
    if (matrix) {
      // The text is typed into the first cell, whose content is put back
      // afterwards; what was typed then fills the block.
      target.push_back(primary);
      cell = FirstCellIndex(primary);
      Handle content = ObjSlot(primary.obj, cell);
      saved = content != nullptr ? DupObj(content) : NewQuestionMark();
      ClearSelection();
      AppendSelection(content != nullptr ? content : primary.obj, kPosWhole);
      text = TabularTypingScript(text);
    }
    PendingSelections watch(target);
    try {
      primary = PrimarySelection();
      if (primary.obj != nullptr && !IsPropositionType(ObjType(primary.obj))) {
        // Brackets keep the pasted expression together; their content is
        // cleared for it.
        ReplayCode(TypeCharCommand('('));
        primary = PrimarySelection();
        if (primary.obj != nullptr && ObjType(primary.obj) != kQuestion) ReplayCode(8);
      }
      ReplayScript(text);
    } catch (...) {
      DisposeObj(saved);
      throw;
    }
    if (!matrix) return;
    Handle m = target.front().obj;
    if (m == nullptr || cell >= ObjCount(m)) {
      DisposeObj(saved);
      return;
    }
    SaveForUndo(m);
    Handle typed = TakeSlot(m, cell);
    PutSlot(m, cell, saved);
    while (typed != nullptr && ObjType(typed) == kParens && ObjCount(typed) == 1) {
      Handle inner = TakeSlot(typed, 0);
      DisposeObj(typed);
      typed = inner;
    }
    if (typed == nullptr) typed = NewQuestionMark();
    ClearSelection();
    if (CoversWhole(target.front())) {
      ReplaceInParent(m, typed);
      Changed(typed);
      Caret(typed, kPosWhole);
    } else {
      ReplaceSelection(target.front(), typed);
      Changed(m);
      Caret(m, target.front().position);
    }
  });
}

}  // namespace

ClipboardTextKind ClassifyClipboardText(std::string_view text) {
  int score = 0;
  int symbols = 0;
  int digits = 0;
  int lines = 0;
  int balance = 0;
  int primes = 0;
  bool brackets = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<uint8_t>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<uint8_t>(text[i + 1]) : uint8_t{0};
    switch (c) {
      case '+':
      case '/':
      case '*':
      case '^':
      case '_':
      case '~':
        ++score;
        ++symbols;
        break;
      case ' ':
      case '[':
      case ']':
      case '{':
      case '}':
      case '%':
      case '&':
      case '"':
      case '\\':
      case '|':
        --score;
        ++symbols;
        break;
      case '(':
      case ')':
        ++symbols;
        brackets = true;
        balance += c == '(' ? 1 : -1;
        break;
      case '\'':
        ++symbols;
        if (IsLetter(next)) {
          ++primes;
        } else {
          score -= 100;
        }
        break;
      case '?':
        ++symbols;
        if (next >= 'a' && next <= 'z') ++score;
        break;
      case '\r':
        ++lines;
        if (next == '\n') ++i;
        break;
      case '\n':
        ++lines;
        break;
      default:
        if (c >= '0' && c <= '9') {
          ++digits;
        } else if (IsLetter(c) && c != 'e' && c != 'E') {
          ++symbols;
        }
        break;
    }
  }
  const auto length = static_cast<int64_t>(text.size());
  if (length < 2 * int64_t{digits} && length < 64 * int64_t{lines} && symbols == 0)
    return ClipboardTextKind::kNumericData;
  if (brackets) score += 20;
  if (balance != 0) score -= 100;
  if (primes > 0) score += 3;
  if (primes % 2 == 1) score += 10;
  return score >= 1 ? ClipboardTextKind::kTypingText : ClipboardTextKind::kPlainText;
}

std::string TabularTypingScript(std::string_view text) {
  if (text.size() <= 2) return std::string(text);
  int sum = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<uint8_t>(text[i]);
    if ((c >= '0' && c <= '9') || c == '.' || c == '-' || c == 'e' || c == 'E') {
      ++sum;
    } else if (c == '\t' || c == '\r' || (c == '\n' && (i == 0 || text[i - 1] != '\r'))) {
      sum += 3;
    } else if (IsLetter(c) || c == '@' || c == '#' || c == 0xA2 || c == 0xD2) {
      --sum;
    }
  }
  if (sum < 0) return std::string(text);
  std::string script;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // one row per line
    script.push_back(c == '\r' || c == '\n' ? ';' : c == '\t' ? ',' : c);
  }
  for (size_t i = script.size(); i > 0 && (script[i - 1] == ';' || script[i - 1] == ',');)
    script[--i] = ' ';
  return script;
}

std::string SelectionScript() {
  std::vector<Selection> records;
  for (const Selection& record : SelectionList())
    if (record.obj != nullptr) records.push_back(record);
  if (records.empty()) return {};
  for (const Selection& record : records)
    if (IsPropositionType(ObjType(record.obj))) return NotebookScript(records);
  Handle part = nullptr;
  if (records.size() == 1) {
    part = ExtractSelection(records.front());
    if (part == nullptr) return {};
  } else {
    part = NewObjN(kList, static_cast<int>(records.size()));
    for (size_t i = 0; i < records.size(); ++i) {
      Handle piece = ExtractSelection(records[i]);
      PutSlot(part, static_cast<int>(i), piece != nullptr ? piece : NewQuestionMark());
    }
  }
  std::string text;
  try {
    text = ExpressionScript(part);
  } catch (...) {
    DisposeObj(part);
    throw;
  }
  DisposeObj(part);
  return text;
}

void CopySelection() {
  const std::string script = SelectionScript();
  if (script.empty()) return;
  CurrentPlatform().SetClipboardText(ProgramTextToUtf8(script));
}

void CopySelectionAsPicture() {
  std::vector<Selection> records;
  for (const Selection& record : SelectionList())
    if (record.obj != nullptr) records.push_back(record);
  if (records.size() > 1) Raise(kMsgCopyMultipleSelection);
  if (records.empty()) return;
  gEditorHooks.copyPicture(records.front());
}

void PasteClipboard() {
  NotebookView* view = FrontView();
  if (view == nullptr || view->notebook == nullptr) return;
  const std::string text = Utf8ToProgramText(CurrentPlatform().ClipboardText());
  if (text.empty()) return;
  DropStaleSelections();
  const Selection first = PrimarySelection();
  const bool intoMatrix = first.obj != nullptr && ObjType(first.obj) == kMatrix;
  if (ClassifyClipboardText(text) == ClipboardTextKind::kNumericData && !intoMatrix) {
    PasteTable(text, first);
    return;
  }
  PasteText(*view, text);
}

}  // namespace lemmabox
