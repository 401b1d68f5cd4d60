#include "notebook/names.h"

#include <cstring>
#include <string>
#include <unordered_map>

#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "notebook/document.h"
#include "notebook/notebook_hooks.h"
#include "notebook/outline.h"
#include "notebook/popups.h"
#include "notebook/propositions.h"
#include "platform/platform.h"
#include "shell/charset.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

Handle StripParens(Handle obj) {
  while (obj != nullptr && ObjType(obj) == '(' && ObjCount(obj) >= 1) obj = ObjSlot(obj, 0);
  return obj;
}

// Whether obj lies inside a Name Declaration (it is, or is part of, what the
// declaration declares).
bool InsideDeclaration(Handle obj) {
  for (Handle h = obj; h != nullptr; h = ObjParent(h)) {
    if (IsPropositionType(ObjType(h))) return ObjType(h) == 'V';
  }
  return false;
}

// While a pass interprets a whole notebook, each container's declarations
// are indexed by spelling on first use, so that a look-up does not scan the
// propositions again and again.
using SpellingIndex = std::unordered_map<std::string, Handle>;
std::unordered_map<Handle, SpellingIndex>* gIndex = nullptr;
int gIndexDepth = 0;

Handle ScanContainer(Handle container, const char* text) {
  if (ObjCount(container) <= FirstProp(container)) return nullptr;
  for (int i = FirstProp(container); i < ObjCount(container); ++i) {
    Handle prop = ObjSlot(container, i);
    if (prop == nullptr || ObjType(prop) != 'V') continue;
    const char* spelling = DeclNameText(prop);
    if (spelling != nullptr && std::strcmp(spelling, text) == 0) return prop;
  }
  return nullptr;
}

Handle FindInContainer(Handle container, const char* text) {
  if (gIndex == nullptr) return ScanContainer(container, text);
  auto [entry, made] = gIndex->try_emplace(container);
  SpellingIndex& index = entry->second;
  if (made && ObjCount(container) > FirstProp(container)) {
    for (int i = FirstProp(container); i < ObjCount(container); ++i) {
      Handle prop = ObjSlot(container, i);
      if (prop == nullptr || ObjType(prop) != 'V') continue;
      if (const char* spelling = DeclNameText(prop)) index.try_emplace(spelling, prop);
    }
  }
  auto found = index.find(text);
  return found == index.end() ? nullptr : found->second;
}

Handle FindKeyInContainer(Handle container, int key) {
  if (ObjCount(container) <= FirstProp(container)) return nullptr;
  for (int i = FirstProp(container); i < ObjCount(container); ++i) {
    Handle prop = ObjSlot(container, i);
    DeclarationRecord* record = prop ? DeclRecordOf(prop) : nullptr;
    if (record != nullptr && BehaviourKey(record->behaviourPopup.item) == key) return prop;
  }
  return nullptr;
}

// A name written like f(x): it stands just before a parenthesised factor.
bool WrittenLikeFunction(Handle name) {
  Handle parent = ObjParent(name);
  if (parent == nullptr) return false;
  int i = ObjSlotIndex(name);
  if (ObjType(parent) == '*' && i + 1 < ObjCount(parent)) {
    Handle next = ObjSlot(parent, i + 1);
    return next != nullptr && ObjType(next) == '(';
  }
  return ObjType(parent) == ';' && i == 0;
}

void Unresolve(Handle name, void* context) {
  if (ObjType(name) != 'v') return;
  auto& decls = *static_cast<const std::unordered_set<Handle>*>(context);
  Handle decl = DeclOfName(name);
  if (!decls.contains(decl)) return;
  const char* text = DeclNameText(decl);
  std::memset(ObjPayload(name), 0, kTextFieldSize);
  if (text != nullptr) {
    std::strncpy(ObjText(name), text, kTextFieldSize - 1);
    Hdr(name).type = '\'';
  } else {
    Hdr(name).type = '?';
  }
  ClearFlag(name, kFlagSizeValid);
}

}  // namespace

NameIndexScope::NameIndexScope() {
  if (gIndexDepth++ == 0) gIndex = new std::unordered_map<Handle, SpellingIndex>();
}

NameIndexScope::~NameIndexScope() {
  if (--gIndexDepth == 0) {
    delete gIndex;
    gIndex = nullptr;
  }
}

void ForgetNameIndex(Handle container) {
  if (gIndex != nullptr) gIndex->erase(container);
}

Handle VarLookup(Handle theory, const char* text) {
  if (text == nullptr) InternalError("VarLookup_badname");
  for (Handle h = theory; h != nullptr; h = ObjParent(h)) {
    if (!IsContainerType(ObjType(h))) continue;
    if (Handle decl = FindInContainer(h, text)) return decl;
  }
  return nullptr;
}

void MakeDeclaredName(Handle name, Handle decl) {
  Obj& o = Hdr(name);
  o.type = 'v';
  o.count = 0;
  std::memset(ObjPayload(name), 0, kTextFieldSize);
  DeclOfName(name) = decl;
  ClearFlag(name, kFlagSizeValid);
}

void ResolveName(Handle name) {
  if (name == nullptr || ObjType(name) != '\'' || InsideDeclaration(name)) return;
  Handle decl = VarLookup(OwningScope(name), ObjText(name));
  if (decl != nullptr && decl != ObjParent(name)) MakeDeclaredName(name, decl);
}

void ResolveNamesIn(Handle obj) {
  WalkTree(
      obj,
      [](Handle h) {
        if (ObjType(h) == '\'') ResolveName(h);
      },
      [](Handle) {});
}

Handle getvardef(Handle name) {
  if (name == nullptr || ObjType(name) != 'v') InternalError("getvardef");
  Handle decl = DeclOfName(name);
  if (decl == nullptr || ObjType(decl) != 'V') InternalError("getvardef_notprop");
  return decl;
}

int QueryDecl(Handle name) {
  if (name == nullptr || ObjType(name) != '\'') InternalError("QueryDecl");
  NameClassQuestion question;
  question.name = ProgramTextToUtf8(ObjText(name));
  question.defaultClass = WrittenLikeFunction(name) ? kNameFunction : kNameVariable;
  if (const PredefinedName* builtIn = PredefinedBySpelling(ObjText(name))) {
    question.builtIn = true;
    question.defaultClass = builtIn->Class();
  }
  int answer = CurrentPlatform().AskNameClass(question);
  return answer >= kNameConstant && answer <= kNameFunction ? answer : 0;
}

bool DeclareName(Handle name, bool select) {
  // The name a declaration declares needs no declaration of its own; nothing
  // is asked, and asking stays on for the other names.
  if (InsideDeclaration(name)) return true;
  Handle main = MainTheoryOf(name);
  if (main == nullptr) main = CurrentNotebook();
  if (main == nullptr) return false;
  int nameClass = QueryDecl(name);
  if (nameClass == 0) return false;
  Handle copy = DupObj(name);
  Handle decl = NewNameDecl(copy, static_cast<NameClass>(nameClass));
  if (const PredefinedName* builtIn = PredefinedBySpelling(ObjText(name))) {
    if (builtIn->Class() == nameClass) SetDeclBehaviour(decl, BehaviourItemForKey(builtIn->key));
  }
  InsertDecl(decl, main);
  if (select && IsPropositionShown(decl)) gNotebookDisplay.selectOnly(decl);
  return true;
}

Handle PredefinedNameInScope(int key) {
  Handle scope = CurrentScope();
  for (Handle h = scope; h != nullptr; h = ObjParent(h)) {
    if (!IsContainerType(ObjType(h))) continue;
    if (Handle decl = FindKeyInContainer(h, key)) {
      Handle name = NewUndeclaredName(PredefinedSpelling(key));
      MakeDeclaredName(name, decl);
      return name;
    }
  }
  Handle decl = scope ? VarLookup(scope, PredefinedSpelling(key)) : nullptr;
  if (decl == nullptr) Raise(kMsgNeedPredefinedName);
  Handle name = NewUndeclaredName(PredefinedSpelling(key));
  MakeDeclaredName(name, decl);
  return name;
}

int PredefinedKeyOfName(Handle name) {
  if (name == nullptr || ObjType(name) != 'v') return 0;
  DeclarationRecord* record = DeclRecordOf(DeclOfName(name));
  return record ? BehaviourKey(record->behaviourPopup.item) : 0;
}

void UnresolveNames(Handle root, const std::unordered_set<Handle>& decls) {
  if (root == nullptr || decls.empty()) return;
  WalkObj(root, &Unresolve, nullptr, const_cast<std::unordered_set<Handle>*>(&decls));
}

bool IsSimpleName(Handle obj) {
  return obj != nullptr && ObjType(obj) == '\'' && ObjText(obj)[0] != '\0';
}

bool SameName(Handle a, Handle b) {
  a = StripParens(a);
  b = StripParens(b);
  if (a == nullptr || b == nullptr || ObjType(a) != ObjType(b)) return false;
  switch (ObjType(a)) {
    case 'v':
      return DeclOfName(a) == DeclOfName(b);
    case '\'':
      return std::strncmp(ObjText(a), ObjText(b), kTextFieldSize) == 0;
    case 'i':
      return IntegerValue(a) == IntegerValue(b);
    case '`':
      return WildcardKind(a) == WildcardKind(b);
    case '-':
      return ObjCount(a) == 1 && ObjCount(b) == 1 && SameName(ObjSlot(a, 0), ObjSlot(b, 0));
    case '_':
      return ObjCount(a) == 2 && ObjCount(b) == 2 && SameName(ObjSlot(a, 0), ObjSlot(b, 0)) &&
             SameName(ObjSlot(a, 1), ObjSlot(b, 1));
    default:
      return false;
  }
}

bool MentionsName(Handle expr, Handle name) {
  if (expr == nullptr) return false;
  if (SameName(expr, name)) return true;
  if (IsLeafType(ObjType(expr))) return false;
  for (int i = FirstObjSlot(expr); i < ObjCount(expr); ++i)
    if (MentionsName(ObjSlot(expr, i), name)) return true;
  return false;
}

}  // namespace lemmabox
