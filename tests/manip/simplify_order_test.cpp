// The canonical order: the comparisons themselves, and what they are for:
// equal expressions written in different orders simplify to the same tree,
// and a simplified expression is a fixed point of Simplify.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "manip/order.h"
#include "manip/simplify.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/tree_text.h"
#include "notebook/names.h"
#include "simplify_fixture.h"

namespace lemmabox::testing {
namespace {

class SimplifyOrderTest : public SimplifyTest {
 protected:
  Handle Resolved(const std::string& tree) {
    Handle h = Build(tree);
    ResolveNamesIn(h);
    made_.push_back(h);
    return h;
  }
  void TearDown() override {
    for (Handle h : made_) DisposeObj(h);
    SimplifyTest::TearDown();
  }
  std::vector<Handle> made_;
};

TEST_F(SimplifyOrderTest, CompareFactors) {
  struct {
    const char* a;
    const char* b;
    int order;
  } cases[] = {
      {"x", "x", kOrderEqual},
      {"x", "y", kFirstBefore},
      {"c", "x", kFirstBefore},  // constants first
      {"x", "A", kFirstBefore},  // then variables, then operators
      {"x", "^(x,2)", kFirstBefore},
      {"^(x,3)", "^(x,2)", kFirstBefore},  // exponents as factors: 3 before 2
      {"^(x,2)", "y", kFirstBefore},       // by base
      {"_(x,1)", "^(x,2)", kFirstBefore},
      {"%(x)", "%(x)", kOrderEqual},
      {"5", "3", kFirstBefore},            // larger integers first
      {"1.5", "2.5", kFirstBefore},        // smaller reals first
      {"3", "2.5", kFirstBefore},          // by rank: integers, then reals
      {"\xB9", "i", kFirstBefore},         // i after every other name
      {"*(x,y)", "*(d,x)", kFirstBefore},  // a differential last
      {"*(d,x)", "*(x,y)", kSecondBefore},
      {"+(a,b)", "+(a,-(b))", kFirstBefore},
      {"+(a,-(b))", "+(-(a),b)", kFirstBefore},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.order, CompareFactors(Resolved(c.a), Resolved(c.b))) << c.a << " " << c.b;
    int reverse = c.order == kOrderEqual ? kOrderEqual : 3 - c.order;
    EXPECT_EQ(reverse, CompareFactors(Resolved(c.b), Resolved(c.a))) << c.b << " " << c.a;
  }
}

TEST_F(SimplifyOrderTest, CompareTerms) {
  struct {
    const char* a;
    const char* b;
    int order;
  } cases[] = {
      {"x", "c", kFirstBefore},       // constants last
      {"^(x,2)", "x", kFirstBefore},  // higher powers first
      {"^(x,3)", "^(x,2)", kFirstBefore},
      {"*(a,x)", "x", kFirstBefore},  // a product by its last factor, then before
      {"*(a,x)", "*(b,x)", kFirstBefore},
      {"*(x,y)", "*(a,x)", kSecondBefore},
      {"^(x,2)", "*(x,y)", kFirstBefore},
      {";(sin,x)", "x", kFirstBefore},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.order, CompareTerms(Resolved(c.a), Resolved(c.b))) << c.a << " " << c.b;
    EXPECT_EQ(3 - c.order, CompareTerms(Resolved(c.b), Resolved(c.a))) << c.b << " " << c.a;
  }
}

TEST_F(SimplifyOrderTest, EveryExpressionTypeHasOrderAndSimplifyEntries) {
  for (const char* tree :
       {"!(x)",   "%(x)",        "(x)",      ")(x,=(x,1))", "*(x,y)",       "+(x,y)",
        "-(x)",   "/(x,y)",      ":(x,y)",   ";(f,x)",      "<(x,y)",       "=(x,y)",
        ">(x,y)", "?",           "[(x,y)",   "\\(x,y)",     "](x,y)",       "^(x,y)",
        "_(x,y)", "`a",          "a(x)",     "c(x,y)",      "d(x,y)",       "f(x,y)",
        "2",      "j(*(x,d,x))", "l(x,0,x)", "m1x2(x,y)",   "#2",           "p(x)",
        "2.5",    "s(k,1,n)",    "x",        "x(k,k,1,n)",  "{(m1x2(x,1))", "|(x)"}) {
    Handle a = Resolved(tree);
    Handle b = Resolved(tree);
    EXPECT_EQ(kOrderEqual, CompareFactors(a, b)) << tree;
    EXPECT_EQ(kOrderEqual, CompareTerms(a, b)) << tree;
    EXPECT_NE("", Simplified(tree)) << tree;
  }
}

// Random terms over a few names, numbers, powers, roots, functions and
// nested sums, as tree text.
class Shapes {
 public:
  explicit Shapes(unsigned seed) : random_(seed) {}

  std::string Factor(int depth) {
    static const char* const kNames[] = {"a", "b", "x", "y", "z", "c", "\xB9", "i"};
    switch (Pick(depth < 2 ? 9 : 7)) {
      case 0:
      case 1:
        return kNames[Pick(8)];
      case 2:
        return std::to_string(1 + Pick(9));
      case 3:
        return "^(" + std::string(kNames[Pick(5)]) + "," + std::to_string(2 + Pick(3)) + ")";
      case 4:
        return ";(" + std::string(Pick(2) ? "sin" : "f") + "," + kNames[Pick(5)] + ")";
      case 5:
        return "%(" + std::to_string(2 + Pick(19)) + ")";
      case 6:
        return "/(" + std::to_string(1 + Pick(5)) + "," + kNames[Pick(5)] + ")";
      case 7:
        return "-(" + Factor(depth + 1) + ")";
      default:
        return "+(" + Term(depth + 1) + "," + Term(depth + 1) + ")";
    }
  }

  std::string Term(int depth) {
    int n = 1 + Pick(3);
    if (n == 1) return Factor(depth);
    std::vector<std::string> factors;
    for (int i = 0; i < n; ++i) factors.push_back(Factor(depth));
    return Join("*", factors);
  }

  // Terms with some of them repeated, so that like terms meet.
  std::vector<std::string> Terms(int n) {
    std::vector<std::string> terms;
    for (int i = 0; i < n; ++i)
      terms.push_back(terms.empty() || Pick(3) ? Term(0) : terms[Pick(i)]);
    return terms;
  }

  void Shuffle(std::vector<std::string>& parts) {
    std::shuffle(parts.begin(), parts.end(), random_);
  }

  static std::string Join(const char* op, const std::vector<std::string>& parts) {
    std::string text = std::string(op) + "(";
    for (size_t i = 0; i < parts.size(); ++i) text += (i ? "," : "") + parts[i];
    return text + ")";
  }

 private:
  int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
  std::mt19937 random_;
};

TEST_F(SimplifyOrderTest, SumsInAnyOrderSimplifyAlike) {
  Shapes shapes(20240601);
  for (int round = 0; round < 150; ++round) {
    std::vector<std::string> terms = shapes.Terms(2 + round % 7);
    std::string written = Shapes::Join("+", terms);
    std::string expected = Simplified(written);
    shapes.Shuffle(terms);
    std::string shuffled = Shapes::Join("+", terms);
    EXPECT_EQ(expected, Simplified(shuffled)) << written << "\n" << shuffled;
  }
}

TEST_F(SimplifyOrderTest, ProductsInAnyOrderSimplifyAlike) {
  Shapes shapes(7);
  for (int round = 0; round < 150; ++round) {
    std::vector<std::string> factors;
    for (int i = 0; i < 2 + round % 5; ++i) factors.push_back(shapes.Factor(round % 2));
    std::string written = Shapes::Join("*", factors);
    std::string expected = Simplified(written);
    shapes.Shuffle(factors);
    std::string shuffled = Shapes::Join("*", factors);
    EXPECT_EQ(expected, Simplified(shuffled)) << written << "\n" << shuffled;
  }
}

TEST_F(SimplifyOrderTest, ASimplifiedExpressionIsAFixedPoint) {
  Shapes shapes(99);
  for (int round = 0; round < 150; ++round) {
    std::string written = Shapes::Join("+", shapes.Terms(1 + round % 6));
    Handle once = Simplify(Build(written));
    std::string first = Text(once);
    Handle twice = Simplify(DupObj(once));
    EXPECT_EQ(first, Text(twice)) << written;
    // One more pass changes nothing either.
    Handle pass = SimpOne(twice);
    EXPECT_EQ(first, Text(pass)) << written;
    DisposeObj(once);
    DisposeObj(pass);
  }
}

}  // namespace
}  // namespace lemmabox::testing
