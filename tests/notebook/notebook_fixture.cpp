#include "notebook_fixture.h"

#include "mathobj/encode.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/derivation.h"
#include "notebook/document.h"
#include "notebook/knowledge.h"
#include "notebook/notebook_hooks.h"
#include "notebook/outline.h"
#include "notebook/popups.h"
#include "notebook/propositions.h"

namespace lemmabox::testing {

std::vector<Handle> NotebookTest::selected;
std::vector<Handle> NotebookTest::inserted;
std::vector<Handle> NotebookTest::deleting;
std::vector<Handle> NotebookTest::marked;

void NotebookTest::SetUp() {
  HeadlessTest::SetUp();
  ResetNotebookHooks();
  selected.clear();
  inserted.clear();
  deleting.clear();
  marked.clear();
  gNotebookDisplay.selectOnly = [](Handle obj) { selected.push_back(obj); };
  gNotebookObserver.inserted = [](Handle obj) { inserted.push_back(obj); };
  gNotebookObserver.deleting = [](Handle obj) { deleting.push_back(obj); };
  gNotebookCascade.markDependents = [](Handle obj) { marked.push_back(obj); };
  SetAutoDeclare(true);
  main = NewNotebook();
  SetCurrentNotebook(main);
}

void NotebookTest::TearDown() {
  ClearLookupScope();
  ClearContingencyTarget();
  CloseNotebook(main);
  ResetNotebookHooks();
  HeadlessTest::TearDown();
}

Handle NotebookTest::Append(Handle prop, int indentation, Handle theory) {
  theory = theory ? theory : main;
  InsertProp(prop, theory, ObjCount(theory), indentation);
  return prop;
}

Handle NotebookTest::Declare(const char* name, NameClass nameClass, Handle theory) {
  return Append(NewNameDecl(NewUndeclaredName(name), nameClass), 0, theory);
}

Handle NotebookTest::DeclarePredefined(int key, Handle theory) {
  const PredefinedName* builtIn = PredefinedByKey(key);
  Handle decl = Declare(builtIn->spelling, builtIn->Class(), theory);
  SetDeclBehaviour(decl, BehaviourItemForKey(key));
  return decl;
}

Handle NotebookTest::Assume(Handle statement, int indentation, Handle theory) {
  return Append(NewAssumption(statement), indentation, theory);
}

Handle NotebookTest::CaseTheory(int indentation, Handle theory) {
  return Append(NewCaseTheory(), indentation, theory);
}

void NotebookTest::Resolve() {
  DeclarationPass(main, false);
}

Handle N(const char* name) {
  return NewUndeclaredName(name);
}
Handle I(int value) {
  return NewInteger(value);
}
Handle W(char kind) {
  return NewWildcard(kind);
}
Handle Op(TypeCode type, Handle a, Handle b) {
  return NewObj2(type, a, b);
}
Handle Op(TypeCode type, Handle a) {
  return NewObj1(type, a);
}

Handle Row(std::vector<Handle> elements) {
  Handle m = NewMatrix(1, static_cast<int>(elements.size()));
  for (size_t i = 0; i < elements.size(); ++i) PutSlot(m, static_cast<int>(i), elements[i]);
  return m;
}

std::string Show(Handle obj) {
  if (obj == nullptr) return "~";
  switch (ObjType(obj)) {
    case '\'':
      return ObjText(obj);
    case 'v': {
      const char* text = DeclNameText(DeclOfName(obj));
      return std::string("@") + (text ? text : "?");
    }
    case 'i':
      return std::to_string(IntegerValue(obj));
    case '?':
      return "?";
    case '`':
      return std::string("`") + WildcardKind(obj);
    default:
      break;
  }
  std::string text(1, static_cast<char>(ObjType(obj)));
  text += '(';
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i) {
    if (i > FirstObjSlot(obj)) text += ',';
    text += Show(ObjSlot(obj, i));
  }
  return text + ')';
}

std::string Outline(Handle theory) {
  std::string text;
  for (int i = FirstProp(theory); i < ObjCount(theory); ++i) {
    Handle prop = ObjSlot(theory, i);
    if (!text.empty()) text += ' ';
    text += static_cast<char>(ObjType(prop));
    text += IsInline(prop) ? std::string(".") : std::to_string(Indentation(prop));
    if (HasFlag(prop, kFlagCollapsed)) text += '+';
    if (HasFlag(prop, kFlagLocked)) text += '#';
  }
  return text;
}

}  // namespace lemmabox::testing
