// lemmabox-cli as a user runs it: its exit codes, what it prints, and that
// it never writes over its input.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/ghostscript.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int code = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Quoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("lemmabox-cli-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  Outcome Run(const std::vector<std::string>& args) const {
    std::string command = LEMMABOX_CLI;
    for (const std::string& arg : args) command += " " + Quoted(arg);
    const fs::path out = dir_ / "stdout";
    const fs::path err = dir_ / "stderr";
    command += " >" + out.string() + " 2>" + err.string();
    const int status = std::system(command.c_str());
    Outcome outcome;
    outcome.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = ReadAll(out);
    outcome.err = ReadAll(err);
    return outcome;
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  static std::string Example(const std::string& name) {
    const char* source = std::getenv("LEMMABOX_SOURCE_DIR");
    return std::string(source != nullptr ? source : ".") + "/examples/" + name;
  }

  fs::path dir_;
};

TEST_F(Cli, ExitCodesAndMessages) {
  const std::string corrupt = Path("corrupt.axn");
  std::ofstream(corrupt) << "~v200 200 ~w143 5 289 549 0 0 0 0 ~z";
  // A conclusion whose source no longer allows its derivation.
  std::string broken = ReadAll(Example("welcome.axn"));
  const size_t source = broken.find("~A(a*(x+1)*x)");
  ASSERT_NE(source, std::string::npos);
  broken.replace(source, 13, "~A(x)");
  std::ofstream(Path("broken.axn"), std::ios::binary) << broken;

  const struct {
    std::vector<std::string> args;
    int code;
    const char* out;  // a part of stdout
    const char* err;  // a part of stderr
  } cases[] = {
      {{"--help"}, 0, "check NOTEBOOK", ""},
      {{"--version"}, 0, "lemmabox-cli ", ""},
      {{}, 2, "", "usage"},
      {{"frobnicate"}, 2, "", "unknown command"},
      {{"check", Example("welcome.axn")}, 0, ": fresh\n", ""},
      {{"check", Path("broken.axn")}, 1, "fresh", ""},
      {{"check", Path("none.axn")}, 2, "", "Attempt to open a file that doesn't exist"},
      {{"check", corrupt},
       2,
       "",
       "Sorry, the data has been corrupted; it cannot be reconstructed."},
      {{"check"}, 2, "", "check needs one notebook file"},
      {{"convert", Example("welcome.axn"), Path("x.wmf")}, 2, "", "the output must be"},
      {{"convert", corrupt, Path("x.axn")}, 2, "", "corrupted"},
      {{"eval", "2+3*4"}, 0, "14\n", ""},
      {{"run", "--op", "commute", "a*b"}, 0, "b*a\n", ""},
      {{"run", "--op", "simplify", "--declare", "k:c", "x+x+k"}, 0, "2*x+k\n", ""},
      {{"run", "--op", "frobnicate", "x"}, 2, "", "unknown operation"},
  };
  for (const auto& c : cases) {
    const std::string what = c.args.empty() ? "(none)" : c.args[0];
    const Outcome outcome = Run(c.args);
    EXPECT_EQ(outcome.code, c.code) << what << "\n" << outcome.out << outcome.err;
    EXPECT_NE(outcome.out.find(c.out), std::string::npos) << what << ": " << outcome.out;
    EXPECT_NE(outcome.err.find(c.err), std::string::npos) << what << ": " << outcome.err;
  }
  EXPECT_FALSE(fs::exists(Path("x.axn")));
}

TEST_F(Cli, CheckTellsEachConclusion) {
  const Outcome outcome = Run({"check", Example("welcome.axn")});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  // The summary, then one line per conclusion.
  EXPECT_EQ(outcome.out.rfind("welcome.axn: ", 0), 0u) << outcome.out;
  EXPECT_NE(outcome.out.find("Conclusion"), std::string::npos) << outcome.out;
  EXPECT_NE(outcome.out.find(": a*(x+1)*x=x*(x+1)*a: fresh\n"), std::string::npos) << outcome.out;
}

TEST_F(Cli, ConvertWritesCopiesAndPictures) {
  const std::string input = Path("in.axn");
  fs::copy_file(Example("welcome.axn"), input);
  const std::string original = ReadAll(input);

  EXPECT_EQ(Run({"convert", input, Path("out.axn")}).code, 0);
  EXPECT_EQ(ReadAll(Path("out.axn")), original);
  const Outcome eps = Run({"convert", input, Path("out.eps")});
  EXPECT_EQ(eps.code, 0) << eps.err;
  const std::string picture = ReadAll(Path("out.eps"));
  EXPECT_EQ(picture.rfind("%!PS-Adobe-", 0), 0u);
  EXPECT_NE(picture.find("EPSF"), std::string::npos);
  EXPECT_NE(picture.find("%%BoundingBox:"), std::string::npos);
  const Outcome ps = Run({"convert", input, Path("out.ps")});
  EXPECT_EQ(ps.code, 0) << ps.err;
  EXPECT_EQ(ReadAll(Path("out.ps")).rfind("%!PS-Adobe-3.0\n", 0), 0u);

  // Never over the input, however it is named.
  for (const std::string& same :
       {input, Path("./in.axn"), Path("../" + dir_.filename().string() + "/in.axn")}) {
    const Outcome outcome = Run({"convert", input, same});
    EXPECT_EQ(outcome.code, 2) << same;
    EXPECT_NE(outcome.err.find("over the input"), std::string::npos) << outcome.err;
  }
  EXPECT_EQ(ReadAll(input), original);
}

// Every shipped example converts to EPS that Ghostscript renders without an
// error and with ink on the page.
TEST_F(Cli, EveryExampleRendersThroughGhostscript) {
  if (!lemmabox::testing::HaveGhostscript()) GTEST_SKIP() << "no Ghostscript";
  for (const auto& entry : fs::directory_iterator(fs::path(Example(""))))
    if (entry.path().extension() == ".axn") {
      const std::string eps = Path(entry.path().stem().string() + ".eps");
      const Outcome converted = Run({"convert", entry.path().string(), eps});
      ASSERT_EQ(converted.code, 0) << entry.path() << converted.err;
      lemmabox::testing::GrayPicture page;
      std::string messages;
      EXPECT_TRUE(lemmabox::testing::RenderWithGhostscript(eps, true, 36, page, &messages))
          << entry.path() << messages;
      EXPECT_GT(page.InkCount(), 0) << entry.path();
    }
}

}  // namespace
