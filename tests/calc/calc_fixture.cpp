#include "calc/calc_fixture.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "calc/calc_engine.h"
#include "calc/calculate.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/document.h"
#include "notebook/names.h"
#include "notebook/outline.h"
#include "notebook/popups.h"
#include "notebook/propositions.h"
#include "notebook/working_statements.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

// Spellings the notation writes in ASCII.
struct Spelling {
  const char* ascii;
  const char* bytes;
};
constexpr Spelling kSpellings[] = {
    {"pi", "\xB9"}, {"inf", "\xB0"}, {"deg", "\xA1"}, {"Gamma", "\xED"}};

std::string ToBytes(const std::string& ascii) {
  for (const Spelling& s : kSpellings)
    if (ascii == s.ascii) return s.bytes;
  return ascii;
}

std::string ToAscii(const char* bytes) {
  for (const Spelling& s : kSpellings)
    if (std::strcmp(bytes, s.bytes) == 0) return s.ascii;
  return bytes;
}

Handle NewRealObj(double x) {
  Handle h = NewObj(kReal, kRealPayload);
  RealValue(h) = x;
  return h;
}

Handle WithOperands(TypeCode type, const std::vector<Handle>& operands) {
  Handle h = NewObjN(type, static_cast<int>(operands.size()));
  for (size_t i = 0; i < operands.size(); ++i) PutSlot(h, static_cast<int>(i), operands[i]);
  return h;
}

Handle RowOf(const std::vector<Handle>& items) {
  Handle m = NewMatrix(1, static_cast<int>(items.size()));
  for (size_t i = 0; i < items.size(); ++i) PutSlot(m, static_cast<int>(i), items[i]);
  return m;
}

class Parser {
 public:
  explicit Parser(const std::string& text) : s_(text) {}

  Handle Parse() {
    Handle h = Relation();
    Skip();
    if (pos_ != s_.size()) Fail("trailing text");
    return h;
  }

 private:
  [[noreturn]] void Fail(const char* what) {
    throw std::runtime_error(std::string(what) + " at " + std::to_string(pos_) + " in " + s_);
  }
  void Skip() {
    while (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;
  }
  bool Eat(const char* token) {
    Skip();
    size_t n = std::strlen(token);
    if (s_.compare(pos_, n, token) != 0) return false;
    pos_ += n;
    return true;
  }
  void Expect(const char* token) {
    if (!Eat(token)) Fail(token);
  }
  char Peek() {
    Skip();
    return pos_ < s_.size() ? s_[pos_] : '\0';
  }

  Handle Relation() {
    Handle left = Sum();
    struct Op {
      const char* token;
      TypeCode type;
    };
    constexpr Op ops[] = {{"<=", '['}, {">=", ']'}, {"!=", '\\'},
                          {"=", '='},  {"<", '<'},  {">", '>'}};
    for (const Op& op : ops)
      if (Eat(op.token)) return NewObj2(op.type, left, Sum());
    return left;
  }

  Handle Sum() {
    std::vector<Handle> terms{Term()};
    for (;;) {
      if (Eat("+"))
        terms.push_back(Term());
      else if (Eat("-"))
        terms.push_back(NewNegation(Term()));
      else
        break;
    }
    return terms.size() == 1 ? terms[0] : WithOperands('+', terms);
  }

  Handle Term() {
    std::vector<Handle> factors{Unary()};
    auto current = [&] { return factors.size() == 1 ? factors[0] : WithOperands('*', factors); };
    for (;;) {
      if (Eat("*")) {
        factors.push_back(Unary());
      } else if (Peek() == '/') {
        ++pos_;
        Handle q = NewQuotient(current(), Unary());
        factors = {q};
      } else {
        break;
      }
    }
    return current();
  }

  Handle Unary() {
    if (Eat("-")) return NewNegation(Unary());
    Handle base = Postfix();
    if (Eat("^")) return NewPower(base, Unary());
    return base;
  }

  Handle Postfix() {
    Handle h = Primary(true);
    for (;;) {
      Skip();
      if (s_.compare(pos_, 2, "!=") != 0 && Eat("!")) {
        h = NewObj1('!', h);
      } else if (Eat("_")) {
        h = NewIndex(h, Primary(false));
        // A subscripted function name applied to its argument: J_1(x).
        if (pos_ < s_.size() && s_[pos_] == '(') h = Call(h);
      } else {
        return h;
      }
    }
  }

  Handle Call(Handle function) {
    ++pos_;
    std::vector<Handle> args = List(")");
    if (args.empty()) Fail("no argument");
    return NewObj2(';', function, args.size() == 1 ? args[0] : RowOf(args));
  }

  std::vector<Handle> List(const char* close) {
    std::vector<Handle> items;
    if (Eat(close)) return items;
    do items.push_back(Relation());
    while (Eat(","));
    Expect(close);
    return items;
  }

  Handle Matrix() {
    std::vector<std::vector<Handle>> rows(1);
    for (;;) {
      rows.back().push_back(Relation());
      if (Eat(",")) continue;
      if (Eat(";")) {
        rows.emplace_back();
        continue;
      }
      Expect("]");
      break;
    }
    int cols = static_cast<int>(rows[0].size());
    Handle m = NewMatrix(static_cast<int>(rows.size()), cols);
    for (size_t r = 0; r < rows.size(); ++r) {
      if (static_cast<int>(rows[r].size()) != cols) Fail("ragged matrix");
      for (int c = 0; c < cols; ++c) PutSlot(m, static_cast<int>(r) * cols + c, rows[r][c]);
    }
    return m;
  }

  Handle Special() {
    size_t start = pos_;
    while (pos_ < s_.size() && std::isalpha(static_cast<unsigned char>(s_[pos_]))) ++pos_;
    std::string word = s_.substr(start, pos_ - start);
    Expect("(");
    if (word == "text") {
      size_t end = s_.find(')', pos_);
      std::string text = s_.substr(pos_, end - pos_);
      pos_ = end + 1;
      return NewNumberText(text.c_str());
    }
    std::vector<Handle> a = List(")");
    struct Form {
      const char* word;
      TypeCode type;
    };
    constexpr Form forms[] = {{"sum", 's'},  {"prod", 'x'},    {"int", 'j'},    {"at", ')'},
                              {"cond", '{'}, {"partial", 'p'}, {"forall", 'f'}, {"sqrt", '%'},
                              {"adj", 'a'},  {"cross", 'c'},   {"dot", 'd'},    {"range", ':'},
                              {"lim", 'l'},  {"paren", '('}};
    for (const Form& f : forms)
      if (word == f.word) return WithOperands(f.type, a);
    Fail("unknown @ form");
  }

  Handle Primary(bool allowCall) {
    char c = Peek();
    if (c == '(') {
      ++pos_;
      std::vector<Handle> items = List(")");
      if (items.size() == 1) return items[0];
      return RowOf(items);
    }
    if (c == '[') {
      ++pos_;
      return Matrix();
    }
    if (c == '|') {
      ++pos_;
      Handle inner = Sum();
      Expect("|");
      return NewAbs(inner);
    }
    if (c == '?') {
      ++pos_;
      return NewQuestionMark();
    }
    if (c == '`') {
      ++pos_;
      return NewWildcard(s_[pos_++]);
    }
    if (c == '@') {
      ++pos_;
      return Special();
    }
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') return Number();
    if (std::isalpha(static_cast<unsigned char>(c))) {
      size_t start = pos_;
      while (pos_ < s_.size() && std::isalnum(static_cast<unsigned char>(s_[pos_]))) ++pos_;
      Handle name = NewUndeclaredName(ToBytes(s_.substr(start, pos_ - start)).c_str());
      if (allowCall && pos_ < s_.size() && s_[pos_] == '(') return Call(name);
      return name;
    }
    Fail("unexpected character");
  }

  Handle Number() {
    size_t start = pos_;
    bool real = false;
    while (pos_ < s_.size()) {
      char c = s_[pos_];
      if (std::isdigit(static_cast<unsigned char>(c))) {
        ++pos_;
      } else if (c == '.') {
        real = true;
        ++pos_;
      } else if (c == 'e' && pos_ + 1 < s_.size() &&
                 (std::isdigit(static_cast<unsigned char>(s_[pos_ + 1])) || s_[pos_ + 1] == '-')) {
        real = true;
        pos_ += 2;
      } else {
        break;
      }
    }
    std::string text = s_.substr(start, pos_ - start);
    double x = std::strtod(text.c_str(), nullptr);
    if (!real && x <= 2147483647.0) return NewInteger(static_cast<int32_t>(x));
    return NewRealObj(x);
  }

  std::string s_;
  size_t pos_ = 0;
};

// --- Showing ---

int Level(Handle h) {
  switch (ObjType(h)) {
    case '=':
    case '<':
    case '>':
    case '[':
    case ']':
    case '\\':
      return 0;
    case '+':
      return 1;
    case '*':
    case '/':
      return 2;
    case '-':
      return 3;
    case '^':
      return 4;
    case '!':
    case '_':
      return 5;
    case 'i':
      return IntegerValue(h) < 0 ? 3 : 6;
    default:
      return 6;
  }
}

std::string ShowAt(Handle h, int least) {
  std::string s = Show(h);
  return Level(h) < least ? "(" + s + ")" : s;
}

std::string ShowList(Handle h, int from, const char* separator) {
  std::string s;
  for (int i = from; i < ObjCount(h); ++i) {
    if (i > from) s += separator;
    s += ObjSlot(h, i) ? Show(ObjSlot(h, i)) : "~";
  }
  return s;
}

}  // namespace

std::string Show(Handle h) {
  if (h == nullptr) return "~";
  char buffer[64];
  switch (ObjType(h)) {
    case 'i':
      return std::to_string(IntegerValue(h));
    case 'r':
      std::snprintf(buffer, sizeof buffer, "%.17g", RealValue(h));
      return std::string(buffer).find_first_of(".e") == std::string::npos
                 ? std::string(buffer) + ".0"
                 : buffer;
    case 'n':
      return std::string("#") + ObjText(h);
    case '\'':
      return ToAscii(ObjText(h));
    case 'v': {
      Handle decl = DeclOfName(h);
      Handle name = decl ? DeclNameObj(decl) : nullptr;
      return name && ObjType(name) == '\'' ? ToAscii(ObjText(name)) : "@name";
    }
    case '?':
      return "?";
    case '`':
      return std::string("`") + WildcardKind(h);
    case '+': {
      std::string s = ShowAt(ObjSlot(h, 0), 1);
      for (int i = 1; i < ObjCount(h); ++i) {
        Handle t = ObjSlot(h, i);
        if (ObjType(t) == '-')
          s += "-" + ShowAt(ObjSlot(t, 0), 2);
        else
          s += "+" + ShowAt(t, 1);
      }
      return s;
    }
    case '*': {
      std::string s;
      for (int i = 0; i < ObjCount(h); ++i) s += (i ? "*" : "") + ShowAt(ObjSlot(h, i), 3);
      return s;
    }
    case '/':
      return ShowAt(ObjSlot(h, 0), 2) + "/" + ShowAt(ObjSlot(h, 1), 3);
    case '-':
      return "-" + ShowAt(ObjSlot(h, 0), 3);
    case '^':
      return ShowAt(ObjSlot(h, 0), 5) + "^" + ShowAt(ObjSlot(h, 1), 3);
    case '!':
      return ShowAt(ObjSlot(h, 0), 6) + "!";
    case '_':
      return ShowAt(ObjSlot(h, 0), 6) + "_" + ShowAt(ObjSlot(h, 1), 6);
    case '|':
      return "|" + Show(ObjSlot(h, 0)) + "|";
    case ';': {
      Handle arg = ObjSlot(h, 1);
      bool row = arg && ObjType(arg) == 'm' && MatrixRows(arg) == 1 && ObjCount(arg) > 1;
      return ShowAt(ObjSlot(h, 0), 6) + "(" + (row ? ShowList(arg, 0, ", ") : Show(arg)) + ")";
    }
    case 'm': {
      std::string s = "[";
      int cols = MatrixCols(h);
      for (int i = 0; i < ObjCount(h); ++i) {
        if (i > 0) s += i % cols == 0 ? "; " : ", ";
        s += Show(ObjSlot(h, i));
      }
      return s + "]";
    }
    case '=':
    case '<':
    case '>':
    case '[':
    case ']':
    case '\\': {
      const char* op = ObjType(h) == '='   ? "="
                       : ObjType(h) == '<' ? "<"
                       : ObjType(h) == '>' ? ">"
                       : ObjType(h) == '[' ? "<="
                       : ObjType(h) == ']' ? ">="
                                           : "!=";
      return Show(ObjSlot(h, 0)) + op + Show(ObjSlot(h, 1));
    }
    default: {
      struct Form {
        TypeCode type;
        const char* word;
      };
      constexpr Form forms[] = {{'s', "sum"},  {'x', "prod"},    {'j', "int"},    {')', "at"},
                                {'{', "cond"}, {'p', "partial"}, {'f', "forall"}, {'%', "sqrt"},
                                {'a', "adj"},  {'c', "cross"},   {'d', "dot"},    {':', "range"},
                                {'l', "lim"},  {'(', "paren"}};
      for (const Form& f : forms)
        if (ObjType(h) == f.type)
          return std::string("@") + f.word + "(" + ShowList(h, 0, ", ") + ")";
      return std::string("<") + static_cast<char>(ObjType(h)) + ">";
    }
  }
}

// --- The fixture ---

void CalcTest::SetUp() {
  HeadlessTest::SetUp();
  notebook = NewNotebook();
  SetCurrentNotebook(notebook);
  for (const char* v : {"x", "y", "z", "t", "k", "j", "n", "u", "w", "r"})
    Declare(v, kVariableClass);
  for (const char* c : {"a", "b", "c"}) Declare(c, kConstantClass);
  for (const char* f : {"f", "g", "h"}) Declare(f, kFunctionClass);
  struct Predefined {
    const char* name;
    int key;
  };
  constexpr Predefined predefined[] = {{"pi", 1},         {"e", 2},           {"inf", 3},
                                       {"i", 4},          {"deg", 5},         {"d", 0x10},
                                       {"log", 0x20},     {"Re", 0x21},       {"Im", 0x22},
                                       {"Gamma", 0x23},   {"floor", 0x24},    {"round", 0x26},
                                       {"J", 0x30},       {"Y", 0x31},        {"I", 0x32},
                                       {"K", 0x33},       {"left", 0x40},     {"FromPolar", 0x80},
                                       {"RowsOf", 0x90},  {"mod", 0xA0},      {"sin", 0x100},
                                       {"cos", 0x101},    {"tan", 0x102},     {"arcsin", 0x110},
                                       {"arctan", 0x112}, {"arccot", 0x116},  {"sinh", 0x120},
                                       {"exp", 0x123},    {"arccosh", 0x131}, {"ln", 0x133}};
  for (const Predefined& p : predefined) DeclarePredefined(p.name, p.key);
  RefreshKnowledge(notebook);
}

void CalcTest::TearDown() {
  CloseNotebook(notebook);
  notebook = nullptr;
  HeadlessTest::TearDown();
}

void CalcTest::Declare(const std::string& name, int nameClass) {
  Handle decl =
      NewNameDecl(NewUndeclaredName(ToBytes(name).c_str()), static_cast<NameClass>(nameClass));
  InsertDecl(decl, notebook);
}

void CalcTest::DeclarePredefined(const std::string& name, int key) {
  const PredefinedName* record = PredefinedByKey(key);
  Handle decl = NewNameDecl(NewUndeclaredName(ToBytes(name).c_str()),
                            record ? record->Class() : kNameFunction);
  SetDeclBehaviour(decl, BehaviourItemForKey(key));
  InsertDecl(decl, notebook);
}

Handle CalcTest::NewExpr(const std::string& text) {
  Handle h = Parser(text).Parse();
  ResolveNamesIn(h);
  return h;
}

Handle CalcTest::Expr(const std::string& text) {
  // Kept in an assumption at the end of the notebook so that it is freed
  // with it and its names answer to the notebook's knowledge.
  Handle prop = Assume(text);
  return StatementOf(prop);
}

Handle CalcTest::Insert(Handle prop, Handle theory) {
  if (theory == nullptr) theory = notebook;
  InsertProp(prop, theory, ObjCount(theory), 0);
  ResolveNamesIn(prop);
  return prop;
}

Handle CalcTest::Assume(const std::string& statement, Handle theory) {
  return Insert(NewAssumption(Parser(statement).Parse()), theory);
}

Handle CalcTest::Define(const std::string& statement, Handle theory) {
  Handle prop = Assume(statement, theory);
  if (!SetWorkingStatement(prop, true, true, false))
    throw std::runtime_error("not a working statement: " + statement);
  return prop;
}

std::string CalcTest::Calculated(const std::string& text) {
  Handle obj = NewExpr(text);
  Handle result = nullptr;
  const MessageNumber failure = RaisedBy([&] { result = Calculate(obj); });
  if (failure != 0) {
    DisposeObj(obj);
    return "raised " + std::to_string(failure);
  }
  std::string shown = Show(result);
  DisposeObj(result);
  return shown;
}

MessageNumber CalcTest::FailureOf(const std::string& text) {
  Handle obj = Expr(text);
  return RaisedBy([&] { CalcComplex(obj); });
}

Handle CalcTest::AddCaseTheory() {
  Handle theory = NewCaseTheory();
  InsertProp(theory, notebook, ObjCount(notebook), 0);
  RefreshKnowledge(notebook);
  return theory;
}

}  // namespace lemmabox::testing
