// The notebook file format: records and fields as written and read, the
// header and version rules, and what corrupt or out-of-range input does.
#include <gtest/gtest.h>

#include "files/file_reader.h"
#include "files/notebook_builder.h"
#include "mathobj/slots.h"
#include "notebook/derivation.h"
#include "notebook/document.h"
#include "notebook/expression_writer.h"
#include "notebook/graph_records.h"
#include "notebook/propositions.h"
#include "shell/messages.h"
#include "shell/string_cache.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

constexpr const char* kHeader = "~v200 200 ~w143 5 289 549 0 0 0 0 ";

struct Read {
  Handle notebook = nullptr;
  MessageNumber failure = 0;
  NotebookReadInfo info;
};

Read ReadText(const std::string& text, bool lenient = false) {
  Read read;
  read.failure = CatchFailure(
      [&] { read.notebook = ReadNotebookBytes(text, NotebookReadOptions{lenient}, &read.info); });
  return read;
}

std::vector<Handle> Props(Handle container) {
  std::vector<Handle> props;
  for (int i = FirstProp(container); i < ObjCount(container); ++i)
    props.push_back(ObjSlot(container, i));
  return props;
}

bool Shown(HeadlessPlatform& platform, MessageNumber n) {
  for (const auto& box : platform.boxes)
    if (box.text.find(MessageText(n)) != std::string::npos) return true;
  return false;
}

class FileFormat : public ::testing::Test {
 protected:
  NotebookBuilder scope;  // registration, a platform, a notebook in front
};

// A path word of each length the compact integers have, in the derivation
// record of a conclusion, read back unchanged.
TEST_F(FileFormat, DerivationRecordsUseCompactIntegers) {
  Handle source = scope.Assume("2*3");
  Handle conclusion = scope.Assume("6");
  MakeConclusion(conclusion, source);
  const std::vector<int32_t> path = {0, 31, -31, -1, 32, -32, 2047, -2048, 131071, 2147483647};
  AppendDerivationStep(conclusion, NewDerivationStep(1, true, false, 0, path));
  SetStale(conclusion, true);
  const std::string text = NotebookText(scope.Notebook());
  EXPECT_NE(text.find("~s!*!   ?A_b @b_@b?_c_@ c?__f!_____}\n^!_"), std::string::npos) << text;

  Read read = ReadText(text);
  ASSERT_EQ(read.failure, 0);
  Handle back = Props(read.notebook).back();
  ASSERT_EQ(ObjType(back), kConclusion);
  EXPECT_TRUE(IsStale(back));
  const std::vector<Handle> steps = DerivationSteps(back);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(
      std::vector<int32_t>(StepPath(steps[0]), StepPath(steps[0]) + StepOf(steps[0]).pathLength),
      path);
  EXPECT_EQ(ContingencyAt(ContingenciesOf(back), 0), Props(read.notebook).end()[-2]);
  CloseNotebook(read.notebook);

  // '`' is -32 although never written; 'a' and 'g' start no compact integer.
  const std::string graveText = std::string(kHeader) + "~A(x)~p0\n0 ~s!!!  `}\n^ _~e\n";
  read = ReadText(graveText);
  ASSERT_EQ(read.failure, 0);
  EXPECT_EQ(StepPath(DerivationSteps(Props(read.notebook).back())[0])[0], -32);
  CloseNotebook(read.notebook);
  for (const char* bad : {"~s!a", "~s!g"})
    EXPECT_EQ(ReadText(std::string(kHeader) + "~A(x)~p0\n0 " + bad).failure, kMsgCorruptData);
}

TEST_F(FileFormat, LongLinesAreContinued) {
  std::string sum = "a";
  for (int i = 0; i < 40; ++i) sum += "+a_" + std::to_string(i);
  scope.Declare("a", 'v');
  scope.Assume(sum);
  const std::string text = NotebookText(scope.Notebook());
  const size_t statement = text.find("~A(");
  const size_t continued = text.find("~\n ", statement);
  ASSERT_NE(continued, std::string::npos);
  EXPECT_LE(continued - statement, 64u);
  Read read = ReadText(text);
  ASSERT_EQ(read.failure, 0);
  EXPECT_EQ(NotebookText(read.notebook), text);
  CloseNotebook(read.notebook);
}

// A field is checked against its range: '?' is the lower end, a value outside
// is corruption unless the read is lenient, which clamps it.
TEST_F(FileFormat, FieldRanges) {
  struct Case {
    const char* graph;  // the 2D graph record's fields
    bool lenient;
    MessageNumber failure;
    GraphSettings expected;
  };
  const GraphSettings defaults;
  auto with = [&](int top, int bottom, int aspect, int cropping, int speed, int upTo) {
    GraphSettings s = defaults;
    s.top = top;
    s.bottom = bottom;
    s.right = 288;
    s.aspect = aspect;
    s.cropping = cropping;
    s.speed = speed;
    s.upTo = upTo;
    return s;
  };
  const Case cases[] = {
      {"~G? 0 216 288\n? 1 2 4 10\n", false, 0, with(-3000, 216, 1, 4, 10, 1)},
      {"~G0 0 216 288\n4 2 2 0 -1\n", false, 0, with(0, 216, 2, 4, 10, 0)},
      {"~G0 0 20000 288\n0 1 2 4 10\n", false, kMsgCorruptData, {}},
      {"~G0 0 20000 288\n0 1 2 4 10\n", true, 0, with(0, 10000, 1, 4, 10, 1)},
      {"~G0 0 216 288\n0 9 2 4 10\n", true, 0, with(0, 216, 2, 4, 10, 1)},
      {"~G0 0 216 288\n0 x 2 4 10\n", true, kMsgCorruptData, {}},
  };
  for (const Case& c : cases) {
    const std::string text = std::string(kHeader) + c.graph + "(?):(?):(?):(?):(?)~t~p0\n0 ~e\n";
    Read read = ReadText(text, c.lenient);
    // A lenient read opens what it could and tells the failure aside.
    EXPECT_EQ(c.lenient ? read.info.failure : read.failure, c.failure) << c.graph;
    if (read.notebook == nullptr) continue;
    if (c.failure != 0) {
      EXPECT_TRUE(Props(read.notebook).empty()) << c.graph;
      CloseNotebook(read.notebook);
      continue;
    }
    const GraphSettings s = GetGraphSettings(Props(read.notebook).front());
    EXPECT_EQ(std::tie(s.top, s.bottom, s.aspect, s.cropping, s.speed, s.upTo),
              std::tie(c.expected.top, c.expected.bottom, c.expected.aspect, c.expected.cropping,
                       c.expected.speed, c.expected.upTo))
        << c.graph;
    CloseNotebook(read.notebook);
  }
}

TEST_F(FileFormat, HeaderVariants) {
  const std::string body = "~A(1)~p0\n0 ~e\n";
  const struct {
    std::string text;
    bool opens;
  } cases[] = {
      {std::string(kHeader) + body, true},
      {"x" + std::string(kHeader) + body, true},
      {"\xFFv200 200 ~w143 5 289 549 0 0 0 0 " + body, true},
      {"garbage before the ~v200 200 ~w143 5 289 549 0 0 0 0 " + body, true},
      {"\r\n~v200 200 \r\n~w143 5 289 549 0 0 0 0 ~A(1)~p0\r0 ~e\r\n", true},
      {"\xFF~v200 200 ~w143 5 289 549 0 0 0 0 " + body, false},
      {"no version record at all", false},
      {"~v200 200 and no window", false},
      {"", false},
  };
  for (const auto& c : cases) {
    const size_t before = OpenNotebooks().size();
    Read read = ReadText(c.text);
    EXPECT_EQ(read.failure == 0, c.opens) << c.text;
    if (read.notebook != nullptr) {
      ASSERT_EQ(Props(read.notebook).size(), 1u) << c.text;
      CloseNotebook(read.notebook);
    }
    EXPECT_EQ(OpenNotebooks().size(), before) << c.text;
  }
}

TEST_F(FileFormat, VersionRule) {
  const std::string body =
      "~w143 5 289 549 0 0 0 0 ~V?v1 (a)~p0\n0 ~V?v1 (b)~p0\n0 ~A(a*#b*a)~p0\n0 ~e\n";
  const struct {
    const char* version;
    MessageNumber warning;
  } cases[] = {{"~v99 ", kMsgOlderFileVersion},
               {"~v150 ", 0},
               {"~v300 300 ", kMsgNewerFileVersion},
               {"~v300 200 ", 0}};
  std::string older;
  std::string current;
  for (const auto& c : cases) {
    scope.Platform().boxes.clear();
    Read read = ReadText(c.version + body);
    ASSERT_EQ(read.failure, 0) << c.version;
    for (MessageNumber n : {kMsgOlderFileVersion, kMsgNewerFileVersion})
      EXPECT_EQ(Shown(scope.Platform(), n), n == c.warning) << c.version;
    EXPECT_FALSE(UsingOlderBindingTable());
    (read.info.version < 151 ? older : current) =
        ExpressionScript(StatementOf(Props(read.notebook).back()));
    CloseNotebook(read.notebook);
  }
  // Files before version 151 bind the cross product as tightly as a product.
  EXPECT_EQ(older, "(a*#b)*a");
  EXPECT_EQ(current, "a*#b*a");

  // Only version 162 may end a trailer with a line end; elsewhere it types one.
  const std::string trailer = "~w143 5 289 549 0 0 0 0 ~A(1)~p0\n0 \n~A(2)~p0\n0 ~e\n";
  for (const auto& [version, props] : {std::pair{"~v162 ", 2u}, std::pair{"~v161 ", 3u}}) {
    Read read = ReadText(version + trailer);
    ASSERT_EQ(read.failure, 0);
    EXPECT_EQ(Props(read.notebook).size(), props) << version;
    CloseNotebook(read.notebook);
  }
}

TEST_F(FileFormat, CorruptInputRaises13148AndOpensNothing) {
  const char* bodies[] = {
      "~z",                               // unknown tag
      "~{",                               // a tag beyond 'w'
      "~\nx",                             // a continuation without its blank
      "~Q\n]|Expr|[#b @",                 // a comment form cut short
      "~Q\n]|Expr|[#b @`bb",              // the same inside a command
      "~B?~p0\n0 ~d",                     // a working statement that is a page break
      "~B?~p0\n0 ~s ",                    // a derivation of a page break
      "~B?~p0\n0 ~c0\n0 -1 ",             // contingencies of a page break
      "~A(x)~p0\n0 ~c1\n0 -1 7 -1 ",      // a path to nothing
      "~A(x)~p0\n0 ~s!!   }\n^!!",        // a derivation without its end
      "~t",                               // leaving the Main Theory
      "~L1 0 ? (x):(x)~p0\n0 ",           // a plot outside any graph
      "~A(x)~p0\n0 ~gc0 1 ? 0 0 0 0\n",   // a point list of an assumption
      "~A(x)~p7\n0 ",                     // outline flags beyond 3
      "~P5 abcde",                        // raw data shorter than its minimum
      "~Nr0 1 999999999999999999999 0 ",  // a field too long to be a number
      "~Nr0 1 3 0 -1 0 1\n1\n2\n",        // fewer values than points
  };
  for (const char* body : bodies) {
    const size_t before = OpenNotebooks().size();
    EXPECT_EQ(ReadText(std::string(kHeader) + body).failure, kMsgCorruptData) << body;
    EXPECT_EQ(OpenNotebooks().size(), before) << body;
  }
}

TEST_F(FileFormat, LenientReadKeepsWhatCameBefore) {
  const std::string text = std::string(kHeader) + "~A(1+1)~p0\n0 ~A(2)~p0\n0 ~z~A(3)~p0\n0 ~e\n";
  Read read = ReadText(text, true);
  ASSERT_EQ(read.failure, 0);
  EXPECT_EQ(read.info.failure, kMsgCorruptData);
  ASSERT_EQ(Props(read.notebook).size(), 2u);
  EXPECT_EQ(ExpressionScript(StatementOf(Props(read.notebook)[0])), "1+1");
  CloseNotebook(read.notebook);
}

}  // namespace
}  // namespace lemmabox::testing
