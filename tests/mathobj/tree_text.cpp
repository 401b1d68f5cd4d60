#include "tree_text.h"

#include <cctype>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "mathobj/constructors.h"
#include "mathobj/slots.h"

namespace lemmabox::testing {
namespace {

bool IsNameChar(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0x80;
}

class Parser {
 public:
  explicit Parser(const std::string& text) : p_(text.c_str()) {}

  Handle Parse() {
    char c = *p_;
    if (c == '~') return ++p_, nullptr;
    if (c == '`') {
      char kind = p_[1];
      p_ += 2;
      return NewWildcard(kind);
    }
    if (c == '#') {
      ++p_;
      return NewNumberText(Token().c_str());
    }
    if (std::isdigit(static_cast<unsigned char>(c))) return Number();
    if (c == 'm' && std::isdigit(static_cast<unsigned char>(p_[1]))) return Matrix();
    if (c == '(' && p_[1] != '(') {  // "(x)": explicit parentheses, like "((x)"
      ++p_;
      Handle content = Parse();
      if (*p_++ != ')') throw std::runtime_error("expected )");
      return NewObj1(kParens, content);
    }
    if (c != 0 && p_[1] == '(') {
      p_ += 2;
      std::vector<Handle> operands = Operands();
      int lead = LeadingDataSlots(static_cast<TypeCode>(c));
      Handle h = NewObjN(static_cast<TypeCode>(c), lead + static_cast<int>(operands.size()));
      for (size_t i = 0; i < operands.size(); ++i)
        if (operands[i]) PutSlot(h, lead + static_cast<int>(i), operands[i]);
      return h;
    }
    if (c == '?') return ++p_, NewQuestionMark();
    if (IsNameChar(c)) {
      std::string name;
      while (IsNameChar(*p_)) name += *p_++;
      return NewUndeclaredName(name.c_str());
    }
    throw std::runtime_error(std::string("bad tree text at ") + p_);
  }

  bool AtEnd() const { return *p_ == 0; }

 private:
  std::string Token() {
    std::string token;
    while (*p_ && *p_ != ',' && *p_ != ')') token += *p_++;
    return token;
  }

  Handle Number() {
    std::string token = Token();
    if (token.find('.') == std::string::npos) {
      Handle h = NewObj(kInteger, kIntegerPayload);
      IntegerValue(h) = std::stoi(token);
      return h;
    }
    Handle h = NewObj(kReal, kRealPayload);
    RealValue(h) = std::stod(token);
    return h;
  }

  Handle Matrix() {
    ++p_;
    int rows = 0, cols = 0;
    while (std::isdigit(static_cast<unsigned char>(*p_))) rows = rows * 10 + (*p_++ - '0');
    if (*p_++ != 'x') throw std::runtime_error("bad matrix");
    while (std::isdigit(static_cast<unsigned char>(*p_))) cols = cols * 10 + (*p_++ - '0');
    if (*p_++ != '(') throw std::runtime_error("bad matrix");
    std::vector<Handle> elements = Operands();
    Handle m = NewMatrix(rows, cols);
    for (size_t i = 0; i < elements.size(); ++i)
      if (elements[i]) PutSlot(m, static_cast<int>(i), elements[i]);
    return m;
  }

  std::vector<Handle> Operands() {
    std::vector<Handle> operands;
    if (*p_ == ')') return ++p_, operands;
    for (;;) {
      operands.push_back(Parse());
      char c = *p_++;
      if (c == ')') return operands;
      if (c != ',') throw std::runtime_error("expected , or )");
    }
  }

  const char* p_;
};

}  // namespace

Handle Build(const std::string& text) {
  Parser parser(text);
  Handle h = parser.Parse();
  if (!parser.AtEnd()) throw std::runtime_error("trailing text in " + text);
  return h;
}

std::string Show(Handle obj) {
  if (obj == nullptr) return "~";
  char buffer[64];
  switch (ObjType(obj)) {
    case kQuestion:
      return "?";
    case kWildcard:
      return std::string("`") + WildcardKind(obj);
    case kInteger:
      return std::to_string(IntegerValue(obj));
    case kReal:
      std::snprintf(buffer, sizeof buffer, "%.17g", RealValue(obj));
      return std::string(buffer).find('.') == std::string::npos ? std::string(buffer) + ".0"
                                                                : buffer;
    case kNumberText:
      return std::string("#") + ObjText(obj);
    case kUndeclaredName:
      return ObjText(obj);
    case kName: {
      Handle decl = DeclOfName(obj);
      Handle name = decl && ObjCount(decl) > 0 ? ObjSlot(decl, 0) : nullptr;
      return std::string("@") + (name ? ObjText(name) : "?");
    }
    default:
      break;
  }
  std::string text(1, static_cast<char>(ObjType(obj)));
  if (ObjType(obj) == kMatrix)
    text += std::to_string(MatrixRows(obj)) + "x" + std::to_string(MatrixCols(obj));
  text += '(';
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i) {
    if (i > FirstObjSlot(obj)) text += ',';
    text += Show(ObjSlot(obj, i));
  }
  return text + ')';
}

std::string CheckLinks(Handle obj) {
  if (obj == nullptr) return "";
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i) {
    Handle child = ObjSlot(obj, i);
    if (child == nullptr) continue;
    if (ObjParent(child) != obj || ObjSlotIndex(child) != i)
      return "slot " + std::to_string(i) + " of " + Show(obj) + " holds " + Show(child) +
             " whose header says slot " + std::to_string(ObjSlotIndex(child));
    std::string inner = CheckLinks(child);
    if (!inner.empty()) return inner;
  }
  return "";
}

int CountNodes(Handle obj) {
  if (obj == nullptr) return 0;
  int n = 1;
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i) n += CountNodes(ObjSlot(obj, i));
  return n;
}

}  // namespace lemmabox::testing
