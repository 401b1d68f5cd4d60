#include "files/file_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "editor/comment_reader.h"
#include "editor/compact_integer.h"
#include "editor/editing.h"
#include "editor/editor_hooks.h"
#include "editor/perform.h"
#include "editor/replay.h"
#include "files/comment_store.h"
#include "files/file_records.h"
#include "mathobj/constructors.h"
#include "mathobj/encode.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/derivation.h"
#include "notebook/document.h"
#include "notebook/names.h"
#include "notebook/notebook_hooks.h"
#include "notebook/notebook_record.h"
#include "notebook/outline.h"
#include "notebook/popups.h"
#include "notebook/propositions.h"
#include "shell/alerts.h"
#include "shell/charset.h"
#include "shell/command_codes.h"
#include "shell/failure.h"
#include "shell/interrupt.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

constexpr int kMarker = '~';
constexpr int kAlternativeMarker = 0xFF;
constexpr int kFirstTag = '@';
constexpr int kLastTag = 'w';
constexpr int kMaxPathDepth = 64;
constexpr int32_t kMaxPathWords = 10000;

[[noreturn]] void Corrupt() {
  Raise(kMsgCorruptData);
}

void SetTypingPlace(Handle obj) {
  if (FrontView() == nullptr || obj == nullptr) return;
  ClearSelection();
  AppendSelection(obj, kPosWhole);
}

Handle CurrentStatement(ReadState& state) {
  Handle prop = state.Current();
  if (prop == nullptr || !IsAssumptionOrConclusion(ObjType(prop)) ||
      StatementRecordOf(prop) == nullptr)
    Corrupt();
  return prop;
}

// --- Header records ---

void ReadVersion(FieldReader& in, ReadState& state) {
  const int version = in.Short(0, 999);
  const int oldest = version >= 200 ? in.Short(0, 999) : 163;
  state.version = version;
  if (version < 100) {
    InformationAlert(kMsgOlderFileVersion);
  } else if (version > 200 && oldest > 200) {
    InformationAlert(kMsgNewerFileVersion);
  }
  // Before version 151 the dot and cross products bound as tightly as
  // multiplication. (A paste types with the table of its own notebook.)
  if (state.takesPreferences) UseOlderBindingTable(version < 151);
}

WindowPlacement ReadWindow(FieldReader& in) {
  WindowPlacement w;
  w.top = in.Long(-2000, 5000);
  w.left = in.Long(-2000, 5000);
  w.height = in.Long(-2000, 5000);
  w.width = in.Long(-2000, 5000);
  w.verticalScroll = in.Long(0, 10000000);
  w.verticalExtent = std::max(1, in.Long(0, 10000000));
  w.horizontalScroll = in.Long(0, 10000000);
  w.horizontalExtent = std::max(1, in.Long(0, 10000000));
  return w;
}

void CopyText(char* to, size_t size, const std::string& text) {
  const size_t n = std::min(text.size(), size - 1);
  std::memcpy(to, text.data(), n);
  std::memset(to + n, 0, size - n);
}

// The fields in the order the writer puts them (files/file_writer.cpp).
void ReadPreferences(FieldReader& in, NotebookRecord& record) {
  NotebookPrefs& p = record.prefs;
  CarriedPreferences& c = p.carried;
  NotebookStyle& s = record.style;
  auto word = [&] { return static_cast<int16_t>(in.Short(-32768, 32767)); };
  auto flag = [&] { return static_cast<uint8_t>(in.Short(0, 1)); };
  auto byte = [&] { return static_cast<uint8_t>(in.Short(0, 255)); };
  auto skip = [&](int n) {
    for (int i = 0; i < n; ++i) in.Short(-32768, 32767);
  };
  skip(1);
  for (int16_t& w : c.headerWords) w = word();
  skip(1);
  s.iconMode = in.Short(0, 3);
  p.paletteShown = flag();
  p.autoSimplify = flag();
  p.autoCasing = flag();
  skip(3);
  CopyText(c.leadingText, sizeof c.leadingText, in.Quoted(sizeof c.leadingText - 1));
  skip(3);
  c.flagAfterText = flag();
  skip(1);
  p.fortranish = flag();
  p.paletteAutoToggle = flag();
  in.Quoted(kFontFamilyBytes - 1);  // the fixed font of older versions
  in.Short(0, 32767);
  skip(2);
  s.significantDigits = in.Short(0, 17);
  s.autoCollapse = flag();
  CopyText(p.constantBase, sizeof p.constantBase, in.Quoted(kBaseTextBytes - 1));
  CopyText(p.integerBase, sizeof p.integerBase, in.Quoted(kBaseTextBytes - 1));
  p.arbitrarySerial = in.Long(0, kArbitrarySerialLimit - 1);
  c.flagBeforeAlwaysRedraw = flag();
  p.alwaysRedraw = flag();
  c.byteAfterAlwaysRedraw = byte();
  CopyText(p.variableBase, sizeof p.variableBase, in.Quoted(kBaseTextBytes - 1));
  c.wordAfterVariableBase = word();
  CopyText(s.fontFamily, sizeof s.fontFamily, in.Quoted(kFontFamilyBytes - 1));
  s.mainSize = in.Long(1, 500);
  s.smallerSize = in.Long(1, 500);
  s.smallestSize = in.Long(1, 500);
  s.useItalics = flag();
  s.zeroIntegralsDiffer = flag();
  s.portFontWord = in.Long(INT32_MIN, INT32_MAX);
  c.wordBeforeShowSteps = word();
  p.showSteps = flag();
  p.enterKeys.returnKey = static_cast<CommandCode>(in.Long(0, 0xFFFF));
  p.enterKeys.enterKey = static_cast<CommandCode>(in.Long(0, 0xFFFF));
  p.enterKeys.shiftReturn = static_cast<CommandCode>(in.Long(0, 0xFFFF));
  p.enterKeys.shiftEnter = static_cast<CommandCode>(in.Long(0, 0xFFFF));
  p.alwaysReManipulate = byte();
  for (uint8_t& b : c.bytesAfterAlwaysReManipulate) b = byte();
  c.byteBeforeLineEnd = byte();
  c.wordBeforeLineEnd = word();
  const int32_t colour = in.Long(0, kMaxPackedColour);
  c.colour[0] = static_cast<uint8_t>(colour >> 16);
  c.colour[1] = static_cast<uint8_t>(colour >> 8);
  c.colour[2] = static_cast<uint8_t>(colour);
  p.autoSave = flag();
  c.wordAfterAutoSave = word();
  c.flagAfterAutoSave = flag();
  p.withBlankSlots = flag();
  c.wordAfterBlankSlots = word();
  for (int16_t& w : c.words) w = word();
  p.guessWorkingStmts = flag();
  p.rippleChangesImmediately = flag();
  skip(2);
  in.SkipLineEnd();
}

// --- Record readers ---

void ReadVersionRecord(FieldReader& in, ReadState& state) {
  ReadVersion(in, state);
}

void ReadWindowRecord(FieldReader& in, ReadState&) {
  ReadWindow(in);
}

void ReadPreferencesRecord(FieldReader& in, ReadState& state) {
  Handle main = MainTheoryOf(state.Container());
  if (main == nullptr) Corrupt();
  // Read in any case; a paste keeps the preferences of its own notebook.
  NotebookRecord record = NotebookRecordOf(main);
  ReadPreferences(in, record);
  if (!state.takesPreferences) return;
  NotebookRecord& target = NotebookRecordOf(main);
  target.prefs = record.prefs;
  std::memcpy(target.style.fontFamily, record.style.fontFamily, sizeof record.style.fontFamily);
  target.style.mainSize = record.style.mainSize;
  target.style.smallerSize = record.style.smallerSize;
  target.style.smallestSize = record.style.smallestSize;
  target.style.useItalics = record.style.useItalics;
  target.style.iconMode = record.style.iconMode;
  target.style.zeroIntegralsDiffer = record.style.zeroIntegralsDiffer;
  target.style.significantDigits = record.style.significantDigits;
  target.style.autoCollapse = record.style.autoCollapse;
  target.style.portFontWord = record.style.portFontWord;
  MirrorManipulationSettings(main);
}

void ReadAssumption(FieldReader&, ReadState& state) {
  Handle prop = NewAssumption(nullptr);
  PlaceProposition(state, prop, ObjSlot(prop, 0));
}

void ReadPageBreak(FieldReader& in, ReadState& state) {
  if (in.Peek() == '?') in.Get();
  Handle prop = NewPageBreak();
  PlaceProposition(state, prop, prop);
}

void ReadCaseTheory(FieldReader&, ReadState& state) {
  Handle theory = NewCaseTheory();
  PlaceProposition(state, theory, theory);
  state.Enter(theory);
}

void ReadContainerEnd(FieldReader&, ReadState& state) {
  state.Leave();
  SetTypingPlace(state.Current());
}

void ReadDeclaration(FieldReader& in, ReadState& state) {
  in.Expect('?');
  const NameClass nameClass = NameClassOfLetter(in.Get()).value_or(kNameFunction);
  int behaviour = in.Short(-32768, 32767);
  if (!IsBehaviourItem(behaviour)) {
    if (!state.behaviourWarned) InformationAlert(kMsgUnknownPredefinedName);
    state.behaviourWarned = true;
    behaviour = kBehaviourDefinedByUser;
  }
  Handle decl = NewNameDecl(NewQuestionMark(), nameClass);
  SetDeclBehaviour(decl, behaviour);
  PlaceProposition(state, decl, ObjSlot(decl, 0));
}

void ReadIndependence(FieldReader& in, ReadState& state) {
  const int item = in.Get() == 'a' ? kIndependentOfAllVariables : kIndependentOfEachOther;
  Handle decl = NewIndependenceDecl(nullptr, item);
  PlaceProposition(state, decl, ObjSlot(decl, 0));
}

void ReadRule(FieldReader& in, ReadState& state) {
  const int c = in.Get();
  const int item = c == 's' ? kRuleSimplify : c == 'e' ? kRuleExpand : kRuleTransform;
  Handle rule = NewTransformRule(nullptr, nullptr, item);
  PlaceProposition(state, rule, ObjSlot(rule, 0));
}

void ReadTrailer(FieldReader& in, ReadState& state) {
  const int flags = in.Short(0, 3);
  int indentation = in.Short(0, 255);
  // Files of this one version may end the trailer with a line end.
  if (state.version == 162) in.SkipLineEnd();
  Handle prop = state.Current();
  if (prop == nullptr || !IsPropositionType(ObjType(prop))) Corrupt();
  if (indentation != kInline && !state.Nested())
    indentation = std::min<int>(indentation + state.BaseIndentation(), kMaxIndentation);
  // The first proposition of a container starts a row whatever it says.
  Handle container = ObjParent(prop);
  if (indentation == kInline && container != nullptr && IsContainerType(ObjType(container)) &&
      ObjSlotIndex(prop) == FirstProp(container))
    indentation = 0;
  Hdr(prop).aux = static_cast<uint8_t>(indentation);
  // The declaration's name is complete now: look-ups must find it.
  if (ObjType(prop) == kDeclaration && container != nullptr) ForgetNameIndex(container);
  if (flags & 1) {
    SetFlag(prop, kFlagCollapsed);
  } else {
    ClearFlag(prop, kFlagCollapsed);
  }
  if (flags & 2) {
    SetFlag(prop, kFlagLocked);
  } else {
    ClearFlag(prop, kFlagLocked);
  }
}

void ReadWorkingStatement(FieldReader&, ReadState& state) {
  SetWorkingBit(CurrentStatement(state), true);
}

int32_t CompactInteger(FieldReader& in, int64_t low, int64_t high) {
  // No writer puts a lone '`', but older readers took it for -32; so do we.
  int64_t value = -32;
  if (in.Peek() == '`') {
    in.Get();
  } else {
    value = DecodeCompactInteger([&] { return in.Get(); });
  }
  if (value < low || value > high) Corrupt();
  return static_cast<int32_t>(value);
}

void ReadDerivation(FieldReader& in, ReadState& state) {
  Handle prop = CurrentStatement(state);
  if (ObjType(prop) != kConclusion) MakeConclusion(prop, nullptr);
  FreeDerivationChain(StmtRecord(prop).chain);
  StmtRecord(prop).chain = nullptr;
  for (;;) {
    const int32_t manipulation = CompactInteger(in, INT32_MIN, INT32_MAX);
    if (manipulation == -2) break;
    const int32_t length = CompactInteger(in, 0, kMaxPathWords);
    const bool autoSimplify = CompactInteger(in, 0, 255) != 0;
    const bool autoCasing = CompactInteger(in, 0, 255) != 0;
    const int32_t answer = CompactInteger(in, INT32_MIN, INT32_MAX);
    std::vector<int32_t> path(static_cast<size_t>(length));
    for (int32_t& word : path) word = CompactInteger(in, INT32_MIN, INT32_MAX);
    in.Expect('}');
    in.SkipLineEnd();
    AppendDerivationStep(prop,
                         NewDerivationStep(manipulation, autoSimplify, autoCasing, answer, path));
    CheckInterrupt();
  }
  const int32_t stateWord = CompactInteger(in, 0, 3);
  if (CompactInteger(in, -1, -1) != -1) Corrupt();
  SetStale(prop, (stateWord & 1) != 0);
  SetErrorNumber(prop, (stateWord & 2) != 0 ? kMsgErrorWhenSaved : 0);
}

std::vector<int32_t> ReadPath(FieldReader& in) {
  std::vector<int32_t> path;
  for (int32_t word = in.Short(-1, 32767); word != -1; word = in.Short(-1, 32767)) {
    if (static_cast<int>(path.size()) >= kMaxPathDepth) Corrupt();
    path.push_back(word);
  }
  return path;
}

void ReadContingencies(FieldReader& in, ReadState& state) {
  const int n = in.Short(0, 30000);
  Handle prop = state.Resolve(ReadPath(in));
  if (prop == nullptr || !IsAssumptionOrConclusion(ObjType(prop)) ||
      StatementRecordOf(prop) == nullptr)
    Corrupt();
  if (ObjType(prop) != kConclusion) MakeConclusion(prop, nullptr);
  for (int i = 0; i < n; ++i) {
    // An object the writer could not place is left out.
    if (Handle source = state.Resolve(ReadPath(in)))
      AddContingency(StmtRecord(prop).contingencies, source);
  }
}

void ReadRawData(FieldReader& in, ReadState&) {
  const int32_t count = in.Long(10, 16000000);
  for (int32_t i = 0; i < count; ++i) {
    if (in.Get() < 0) Corrupt();
    if ((i & 0xFFF) == 0) CheckInterrupt();
  }
}

void ReadCommentRecord(FieldReader& in, ReadState& state) {
  in.SkipLineEnd();
  // The form ends at its closing mark; the comment reader checks the rest.
  std::string form;
  for (;;) {
    const int c = in.Get();
    if (c < 0) Corrupt();
    form.push_back(static_cast<char>(c));
    if (form.size() >= 3 && form.compare(form.size() - 3, 3, "]|[") == 0) break;
    if ((form.size() & 0xFFF) == 0) CheckInterrupt();
  }
  Handle comment = NewCommentWith(ReadComment(form));
  PlaceProposition(state, comment, comment);
}

void ReadGraph(FieldReader& in, ReadState& state) {
  ReadGraphRecord(in, state, 'G');
}
void Read3DGraph(FieldReader& in, ReadState& state) {
  ReadGraphRecord(in, state, 'Z');
}
template <char kTag>
void ReadPlot(FieldReader& in, ReadState& state) {
  ReadPlotRecord(in, state, kTag);
}
void ReadPointList(FieldReader& in, ReadState& state) {
  ReadPointListRecord(in, state);
}
void ReadTable(FieldReader& in, ReadState& state) {
  ReadTableRecord(in, state);
}

void Unknown(FieldReader&, ReadState&) {
  Corrupt();
}

// The readers by tag - '@'. The end record 'e' is taken by the caller.
using RecordReader = void (*)(FieldReader& in, ReadState& state);
constexpr std::array<RecordReader, kLastTag - kFirstTag + 1> MakeReaderTable() {
  std::array<RecordReader, kLastTag - kFirstTag + 1> t{};
  for (RecordReader& entry : t) entry = &Unknown;
  auto set = [&](char tag, RecordReader reader) {
    t[static_cast<size_t>(tag - kFirstTag)] = reader;
  };
  set('v', &ReadVersionRecord);
  set('w', &ReadWindowRecord);
  set('f', &ReadPreferencesRecord);
  set('A', &ReadAssumption);
  set('B', &ReadPageBreak);
  set('T', &ReadCaseTheory);
  set('t', &ReadContainerEnd);
  set('V', &ReadDeclaration);
  set('I', &ReadIndependence);
  set('H', &ReadRule);
  set('p', &ReadTrailer);
  set('d', &ReadWorkingStatement);
  set('s', &ReadDerivation);
  set('c', &ReadContingencies);
  set('P', &ReadRawData);
  set('`', &ReadRawData);
  set('Q', &ReadCommentRecord);
  set('m', &ReadCommentRecord);
  set('G', &ReadGraph);
  set('Z', &Read3DGraph);
  set('S', &ReadPlot<'S'>);
  set('L', &ReadPlot<'L'>);
  set('X', &ReadPlot<'X'>);
  set('R', &ReadPlot<'R'>);
  set('D', &ReadPlot<'D'>);
  set('O', &ReadPlot<'O'>);
  set('g', &ReadPointList);
  set('N', &ReadTable);
  return t;
}
constexpr auto kReaders = MakeReaderTable();
static_assert(kReaders.size() == 56);

void Dispatch(int tag, FieldReader& in, ReadState& state) {
  if (tag < kFirstTag || tag > kLastTag) Corrupt();
  kReaders[static_cast<size_t>(tag - kFirstTag)](in, state);
}

// --- A whole file ---

void NoDependents(Handle) {}

// Puts back what a read changes around it: the front view, the binding
// table, asking for declarations, telling the cascade of edits.
class ReadScope {
 public:
  ReadScope()
      : front_(FrontView()),
        older_(UsingOlderBindingTable()),
        ask_(AutoDeclareOn()),
        changed_(gEditorHooks.propositionChanged) {
    // What is typed while a file is read is new: no conclusion depends on
    // it yet (the contingency records come last), and the derivation
    // records say which conclusions are stale. Looking for dependents after
    // every character would make reading quadratic in the notebook's size.
    gEditorHooks.propositionChanged = &NoDependents;
  }
  ~ReadScope() {
    gEditorHooks.propositionChanged = changed_;
    UseOlderBindingTable(older_);
    SetAutoDeclare(ask_);
    if (view_ != nullptr) CloseNotebookView(view_);
    if (front_ != nullptr) SetFrontView(front_);
  }
  ReadScope(const ReadScope&) = delete;
  ReadScope& operator=(const ReadScope&) = delete;
  void Open(Handle notebook) { view_ = OpenNotebookView(notebook); }

 private:
  NotebookView* front_;
  NotebookView* view_ = nullptr;
  bool older_;
  bool ask_;
  void (*changed_)(Handle);
};

// The header: an optional 'x', then the version record (its marker may be
// the byte 0xFF, or anything before the 'v' is skipped), then the window record.
void ReadHeader(FieldReader& in, ReadState& state, WindowPlacement& window) {
  int c = in.Get();
  if (c < 0) Corrupt();
  if (c == 'x') c = in.Get();
  if (c == kAlternativeMarker) {
    if (in.Get() != 'v') Corrupt();
  } else {
    while (c != 'v') {
      if (c < 0) Corrupt();
      c = in.Get();
    }
  }
  ReadVersion(in, state);
  for (c = in.Get(); c != kMarker && c != kAlternativeMarker; c = in.Get())
    if (c < 0) Corrupt();
  for (c = in.Get(); c != 'w'; c = in.Get())
    if (c < 0) Corrupt();
  window = ReadWindow(in);
}

void ReadBody(FieldReader& in, ReadState& state) {
  ScriptStream& stream = in.stream();
  for (int c = stream.Get(); c >= 0; c = stream.Get()) {
    if (c == kMarker || c == kAlternativeMarker) {
      const int tag = stream.Get();
      if (tag == '\n') {
        if (stream.Get() != ' ') Corrupt();
      } else if (tag == 'e') {
        return;
      } else {
        Dispatch(tag, in, state);
      }
    } else {
      ReplayCode(TypeCharCommand(static_cast<uint8_t>(c)));
    }
    CheckInterrupt();
  }
}

// Stale conclusions wait in the queue to be derived again, the first in
// the notebook at the head.
void QueueStale(Handle container, std::vector<Handle>& stale) {
  for (int i = FirstProp(container); i < ObjCount(container); ++i) {
    Handle prop = ObjSlot(container, i);
    if (prop == nullptr) continue;
    if (ObjType(prop) == kConclusion && IsStale(prop)) stale.push_back(prop);
    if (IsTheoryType(ObjType(prop))) QueueStale(prop, stale);
  }
}

void FinishRead(Handle notebook) {
  CommitPendingEdits();
  // Names are interpreted once every declaration is in; what is still
  // undeclared is offered for declaration now.
  Clarify(notebook);
  std::vector<Handle> stale;
  QueueStale(notebook, stale);
  for (auto it = stale.rbegin(); it != stale.rend(); ++it) ToDoPush(notebook, *it);
  gNotebookDisplay.relayoutRows(notebook);
  NotebookRecordOf(notebook).changed = 0;
}

// --- Pastes ---

std::unique_ptr<ReadState>& PasteState() {
  static auto* state = new std::unique_ptr<ReadState>();
  return *state;
}

// A paste's records go after the proposition of the selection, keeping
// their outline relative to its row.
ReadState& PasteStateFor(ScriptStream& in) {
  std::unique_ptr<ReadState>& state = PasteState();
  if (state == nullptr || state->stream != &in || !state->Alive()) {
    const Selection primary = PrimarySelection();
    const InsertionPoint place = FindInsertionPoint(primary.obj, nullptr);
    state = std::make_unique<ReadState>(place.theory, place.index, place.indentation, false);
    state->stream = &in;
  }
  return *state;
}

void ReadPastedRecord(char tag, ScriptStream& in) {
  ReadState& state = PasteStateFor(in);
  if (tag == 'e') {
    // The end of a copied notebook: whatever follows is not read.
    while (in.Get() >= 0) {
    }
    PasteState().reset();
    return;
  }
  FieldReader fields(in, false);
  try {
    Dispatch(tag, fields, state);
  } catch (...) {
    PasteState().reset();
    throw;
  }
}

}  // namespace

// --- ReadState ---

ReadState::ReadState(Handle container, int first, int baseIndentation, bool lenientRead)
    : lenient(lenientRead) {
  if (container == nullptr || !IsContainerType(ObjType(container))) Corrupt();
  levels_.push_back({first, baseIndentation});
  objects_.push_back({nullptr, kPosWhole});
  objects_.push_back({container, kPosWhole});
}

void ReadState::Insert(Handle prop) {
  Handle container = Container();
  Handle current = Current();
  int index = current != nullptr && ObjParent(current) == container ? ObjSlotIndex(current) + 1
                                                                    : levels_.back().first;
  index = std::clamp(index, FirstProp(container), static_cast<int>(ObjCount(container)));
  CheckRoomFor(container, 1);
  InsertProp(prop, container, index, Nested() ? 0 : BaseIndentation());
  SetCurrent(prop);
}

void ReadState::Enter(Handle container) {
  levels_.push_back({FirstProp(container), 0});
  objects_.push_back({container, kPosWhole});
  SetCurrent(container);
}

void ReadState::Leave() {
  if (levels_.size() <= 1) Corrupt();
  Handle container = Container();
  levels_.pop_back();
  objects_.pop_back();
  SetCurrent(container);
}

Handle ReadState::Resolve(const std::vector<int32_t>& path) const {
  if (path.empty()) return nullptr;
  Handle container = objects_[1].obj;
  Handle obj = nullptr;
  for (size_t i = path.size(); i-- > 0;) {
    if (container == nullptr || !IsContainerType(ObjType(container))) Corrupt();
    const int first = i + 1 == path.size() ? levels_.front().first : FirstProp(container);
    const int64_t slot = int64_t{first} + path[i];
    if (slot < FirstProp(container) || slot >= ObjCount(container)) Corrupt();
    obj = ObjSlot(container, static_cast<int>(slot));
    if (obj == nullptr) Corrupt();
    container = obj;
  }
  return obj;
}

bool ReadState::Alive() const {
  for (size_t i = 1; i < objects_.size(); ++i)
    if (objects_[i].obj == nullptr) return false;
  return true;
}

void PlaceProposition(ReadState& state, Handle prop, Handle typingPlace) {
  state.Insert(prop);
  SetTypingPlace(typingPlace);
}

// --- Reading ---

Handle ReadNotebookBytes(std::string_view bytes, const NotebookReadOptions& options,
                         NotebookReadInfo* info) {
  if (bytes.empty()) Corrupt();
  NotebookReadInfo read;
  ReadScope scope;
  Handle notebook = NewNotebook();
  try {
    scope.Open(notebook);
    ReadState state(notebook, FirstProp(notebook), 0, options.lenient);
    state.takesPreferences = true;
    ScriptStream stream(bytes);
    FieldReader in(stream, options.lenient);
    // Names are resolved when everything is read: a declaration may come
    // after the names it declares.
    SetAutoDeclare(false);
    MessageNumber failure = CatchFailure([&] {
      QuietEncoding quiet;
      // Names are looked up among the declarations read so far through an
      // index, which each declaration's trailer renews: scanning the
      // notebook for every name typed would make reading quadratic.
      NameIndexScope names;
      ReadHeader(in, state, read.window);
      read.version = state.version;
      ReadBody(in, state);
    });
    if (failure != 0 && !options.lenient) Raise(failure);
    read.failure = failure;
    read.version = state.version;
    SetAutoDeclare(true);
    UseOlderBindingTable(false);
    FinishRead(notebook);
  } catch (...) {
    CloseNotebook(notebook);
    throw;
  }
  if (info != nullptr) *info = read;
  return notebook;
}

Handle ReadNotebookFile(const std::string& path) {
  return ReadNotebookFileWith(path, NotebookReadOptions{});
}

Handle ReadNotebookFileWith(const std::string& path, const NotebookReadOptions& options,
                            NotebookReadInfo* info) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) Raise(kMsgFileDoesNotExist);
  std::ifstream file(path, std::ios::binary);
  if (!file) Raise(kMsgFileDoesNotExist);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) Raise(kMsgFileAccessDenied);
  return ReadNotebookBytes(bytes, options, info);
}

std::optional<NameClass> NameClassOfLetter(int letter) {
  switch (letter) {
    case 'c':
      return kNameConstant;
    case 'v':
      return kNameVariable;
    case 'm':
      return kNameMLinearOperator;
    case 'd':
      return kNameDLinearOperator;
    case 'f':
      return kNameFunction;
    default:
      return std::nullopt;
  }
}

void InstallFileReader() {
  SetScriptRecordReader(&ReadPastedRecord);
}

}  // namespace lemmabox
