// Notebooks as files: the names Save gives, saving that never loses the old
// file, the lock on open files, the close check, Revert, New Notebook from
// the template, start-up notebooks and Copy HTML Tag.
#include "files/notebook_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "files/file_kinds.h"
#include "files/notebook_builder.h"
#include "mathobj/constructors.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/document.h"
#include "notebook/expression_writer.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "shell/messages.h"
#include "shell/string_cache.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

namespace fs = std::filesystem;

class NotebookFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("lemmabox-files-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    for (NotebookFile* file : OpenNotebookFiles()) CloseNotebookFile(*file);
    fs::remove_all(dir_);
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  // A notebook file holding one assumption per script.
  std::string MakeFile(const std::string& name, std::initializer_list<const char*> scripts) {
    const std::string path = Path(name);
    {
      NotebookBuilder b;
      for (const char* script : scripts) b.Assume(script);
      b.Settle();
      std::ofstream(path, std::ios::binary) << NotebookFileBytes(b.Notebook());
    }
    SetCurrentPlatform(&scope.Platform());
    return path;
  }
  static std::string Canonical(const std::string& path) {
    return fs::weakly_canonical(path).string();
  }
  bool Shown(MessageNumber n) {
    for (const auto& box : scope.Platform().boxes)
      if (box.text.find(MessageText(n)) != std::string::npos) return true;
    return false;
  }
  std::vector<std::string> Scripts(Handle notebook) const {
    std::vector<std::string> scripts;
    for (int i = FirstProp(notebook); i < ObjCount(notebook); ++i)
      if (IsAssumptionOrConclusion(ObjType(ObjSlot(notebook, i))))
        scripts.push_back(ExpressionScript(StatementOf(ObjSlot(notebook, i))));
    return scripts;
  }
  std::vector<std::string> DirectoryEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  NotebookBuilder scope;
  fs::path dir_;
};

TEST(FileKinds, KindsAndSaveNames) {
  const struct {
    const char* path;
    char kind;
    const char* saved;  // the name Save gives it
    const char* savedAsText;
  } cases[] = {
      {"/d/a.axn", 'n', "/d/a.axn", "/d/a.txt"},
      {"/d/a.AXP", 'n', "/d/a.AXP", "/d/a.txt"},
      {"/d/a.Axs", 'N', "/d/a.Axs", "/d/a.txt"},
      {"/d/a.axnotebook", 'n', "/d/a.axnotebook", "/d/a.txt"},
      {"/d/a.eps", 'p', "/d/a.axn", "/d/a.txt"},
      {"/d/a.cat", 'c', "/d/a.axn", "/d/a.txt"},
      {"/d/a.TXT", 't', "/d/a.axn", "/d/a.TXT"},
      {"/d/a.", 't', "/d/a.axn", "/d/a."},
      {"/d/a", '?', "/d/a.axn", "/d/a.txt"},
      {"/d/a.b/c", '?', "/d/a.b/c.axn", "/d/a.b/c.txt"},
      {"/d/a.xyz", '?', "/d/a.xyz.axn", "/d/a.xyz.txt"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileKindOfName(c.path), c.kind) << c.path;
    EXPECT_EQ(NotebookFileName(c.path), c.saved) << c.path;
    EXPECT_EQ(NotebookFileName(c.path, true), c.savedAsText) << c.path;
  }
  EXPECT_EQ(UntitledFileName(3), "UNTITL3.AXN");
  EXPECT_EQ(StartupFileName(10), "NOTEBK10.AXN");
  EXPECT_EQ(RecoveryFileName("/d.x/note.axn"), "/d.x/note.rec");
  EXPECT_EQ(RecoveryFileName("/d.x/note"), "/d.x/note.rec");
}

// Save writes beside the old file and renames; when that fails the old file
// is as it was and nothing is left behind.
TEST_F(NotebookFiles, SavingNeverLosesTheOldFile) {
  const std::string path = MakeFile("a.axn", {"x+1"});
  NotebookFile& file = OpenNotebookFileAt(path);
  MarkNotebookChanged(file.root);
  ASSERT_TRUE(SaveNotebookFile(file));
  const std::string before = ReadBytes(path);
  EXPECT_EQ(before, NotebookFileBytes(file.root, file.window));
  EXPECT_FALSE(NotebookRecordOf(file.root).changed);

  // A target in a directory that does not exist; one that cannot be opened
  // for writing (a directory holding a file); and the rename over it.
  fs::create_directories(Path("taken.axn"));
  std::ofstream(Path("taken.axn/inside")) << "kept";
  EXPECT_RAISES(kMsgFileAccessDenied, SaveNotebookFileAs(file, Path("missing/b.axn")));
  EXPECT_RAISES(kMsgFileLocked, SaveNotebookFileAs(file, Path("taken.axn")));
  EXPECT_FALSE(ReplaceFileDurably(Path("taken.axn"), "bytes"));
  EXPECT_EQ(file.path, Canonical(path));
  EXPECT_EQ(ReadBytes(Path("taken.axn/inside")), "kept");
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(DirectoryEntries(), (std::vector<std::string>{"a.axn", "taken.axn"}));

  // Save as takes the new name, with the notebook extension.
  SaveNotebookFileAs(file, Path("b.eps"));
  EXPECT_EQ(fs::path(file.path).filename(), "b.axn");
  EXPECT_EQ(ReadBytes(Path("b.axn")), before);
}

TEST_F(NotebookFiles, OpenFilesAreLocked) {
  const std::string path = MakeFile("a.axn", {"x"});
  NotebookFile& first = OpenNotebookFileAt(path);
  EXPECT_NE(first.lock, kNoFileLock);
  // Opening it again gives the open one; another program cannot lock it.
  EXPECT_EQ(&OpenNotebookFileAt(path), &first);
  EXPECT_EQ(AcquireFileLock(path), kNoFileLock);

  // A file another program holds opens, tells so, and can only be saved
  // elsewhere.
  const std::string other = MakeFile("b.axn", {"y"});
  const int foreign = AcquireFileLock(other);
  ASSERT_NE(foreign, kNoFileLock);
  NotebookFile& held = OpenNotebookFileAt(other);
  EXPECT_TRUE(held.lockRefused);
  EXPECT_TRUE(Shown(kMsgFileLocked));
  EXPECT_RAISES(kMsgFileLocked, SaveNotebookFile(held));
  EXPECT_RAISES(kMsgFileLocked, SaveNotebookFileAs(first, other));
  SaveNotebookFileAs(held, Path("c.axn"));
  EXPECT_FALSE(held.lockRefused);
  ReleaseFileLock(foreign);

  // Closing releases the lock.
  CloseNotebookFile(first);
  const int again = AcquireFileLock(path);
  EXPECT_NE(again, kNoFileLock);
  ReleaseFileLock(again);

  EXPECT_RAISES(kMsgFileDoesNotExist, OpenNotebookFileAt(Path("none.axn")));
  EXPECT_RAISES(kMsgUnimplemented, OpenNotebookFileAt(MakeFile("t.cat", {"x"})));
}

TEST_F(NotebookFiles, CloseCheck) {
  const struct {
    bool changed;
    bool silent;
    BoxAnswer answer;
    bool mayClose;
    bool saved;
    bool asked;
  } cases[] = {
      {false, false, BoxAnswer::kCancel, true, false, false},
      {true, false, BoxAnswer::kYes, true, true, true},
      {true, false, BoxAnswer::kNo, true, false, true},
      {true, false, BoxAnswer::kCancel, false, false, true},
      {true, true, BoxAnswer::kCancel, true, true, false},
  };
  for (const auto& c : cases) {
    const std::string path = MakeFile("a.axn", {"x"});
    NotebookFile& file = OpenNotebookFileAt(path);
    file.silentSave = c.silent;
    scope.Platform().boxes.clear();
    scope.Platform().answers = {c.answer};
    InsertProp(NewAssumption(NewInteger(7)), file.root, ObjCount(file.root), 0);
    NotebookRecordOf(file.root).changed = c.changed;
    EXPECT_EQ(MayCloseNotebookFile(file), c.mayClose);
    EXPECT_EQ(ReadBytes(path).find("~A(7)") != std::string::npos, c.saved);
    ASSERT_EQ(scope.Platform().boxes.size(), c.asked ? 1u : 0u);
    if (c.asked) {
      EXPECT_EQ(scope.Platform().boxes[0].text, "Save the file a.axn ?");
    }
    EXPECT_EQ(file.lock == kNoFileLock, c.mayClose);
    CloseNotebookFile(file);
  }

  // An emergency saves a changed notebook under its ".rec" name, untouched
  // otherwise; a second window closes without a question.
  const std::string path = MakeFile("b.axn", {"x"});
  NotebookFile& file = OpenNotebookFileAt(path);
  file.windows = 2;
  MarkNotebookChanged(file.root);
  EXPECT_TRUE(MayCloseNotebookFile(file));
  file.windows = 1;
  EXPECT_TRUE(MayCloseNotebookFile(file, true));
  EXPECT_EQ(file.path, Canonical(Path("b.rec")));
  EXPECT_EQ(ReadBytes(Path("b.rec")), NotebookFileBytes(file.root, file.window));
}

TEST_F(NotebookFiles, RevertReadsTheFileAgain) {
  const std::string path = MakeFile("a.axn", {"x+1", "y"});
  NotebookFile& file = OpenNotebookFileAt(path);
  Handle root = file.root;
  DeleteSlots(root, FirstProp(root), FirstProp(root) + 1);
  InsertProp(NewAssumption(NewInteger(5)), root, ObjCount(root), 0);
  scope.Platform().answers = {BoxAnswer::kNo};
  EXPECT_FALSE(RevertNotebookFile(file));
  scope.Platform().answers = {BoxAnswer::kYes};
  EXPECT_TRUE(RevertNotebookFile(file));
  EXPECT_EQ(file.root, root);
  EXPECT_EQ(Scripts(root), (std::vector<std::string>{"x+1", "y"}));
  EXPECT_FALSE(NotebookRecordOf(root).changed);
}

// New Notebook starts from the template: one collapsed group of the
// predefined names, which are known without asking.
TEST_F(NotebookFiles, NewNotebooksKnowThePredefinedNames) {
  NotebookFile& file = NewUntitledNotebookFile();
  EXPECT_TRUE(file.untitled);
  EXPECT_EQ(fs::path(file.path).filename().string().substr(0, 6), "UNTITL");
  Handle heading = ObjSlot(file.root, FirstProp(file.root));
  EXPECT_EQ(ObjType(heading), kComment);
  EXPECT_TRUE(HasFlag(heading, kFlagCollapsed));

  // Untitled notebooks save through Save as; cancelling it saves nothing.
  EXPECT_FALSE(SaveNotebookFile(file));
  scope.Platform().fileAnswers = {Path("mine")};
  EXPECT_TRUE(SaveNotebookFile(file));
  EXPECT_FALSE(file.untitled);
  EXPECT_TRUE(fs::exists(Path("mine.axn")));

  NotebookBuilder b(NewNotebookFromTemplate());
  b.Assume("sin('p*x)+J(1,x)+e^i+ln(2)");
  b.Settle();
  ASSERT_EQ(b.Platform().nameQuestions.size(), 1u);
  EXPECT_EQ(b.Platform().nameQuestions[0].name, "x");
}

TEST_F(NotebookFiles, StartupNotebooksSaveSilently) {
  const char* support = std::getenv("LEMMABOX_SUPPORT_DIR");
  const std::string previous = support != nullptr ? support : "";
  ::setenv("LEMMABOX_SUPPORT_DIR", dir_.c_str(), 1);
  MakeFile(StartupFileName(0), {"a"});
  MakeFile(StartupFileName(10), {"b"});
  const std::vector<NotebookFile*> files = OpenStartupNotebookFiles();
  ::setenv("LEMMABOX_SUPPORT_DIR", previous.c_str(), 1);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(Scripts(files[1]->root), std::vector<std::string>{"b"});
  for (NotebookFile* file : files) EXPECT_TRUE(file->silentSave);
  InsertProp(NewAssumption(NewInteger(9)), files[0]->root, ObjCount(files[0]->root), 0);
  MarkNotebookChanged(files[0]->root);
  EXPECT_TRUE(MayCloseNotebookFile(*files[0]));
  EXPECT_TRUE(scope.Platform().boxes.empty());
  EXPECT_NE(ReadBytes(Path(StartupFileName(0))).find("~A(9)"), std::string::npos);
}

TEST_F(NotebookFiles, CopyHtmlTag) {
  EXPECT_EQ(HtmlTagText("my \"plot\"~1.axp", 440, 110, 11),
            "<embed src=\"my%20%22plot%22%7e1.axp\" height=236 width=896 \r\n"
            "pluginspage=\"http://lemmabox.org/plugin/getE.html\">");
  const std::string path = MakeFile("page.AXP", {"x"});
  NotebookFile& file = OpenNotebookFileAt(path);
  CopyHtmlTag(file);
  EXPECT_FALSE(Shown(kMsgPluginExtension));
  EXPECT_EQ(scope.Platform().clipboard.rfind("<embed src=\"page.AXP\" height=", 0), 0u);
  SaveNotebookFileAs(file, Path("page.axn"));
  CopyHtmlTag(file);
  EXPECT_TRUE(Shown(kMsgPluginExtension));
}

}  // namespace
}  // namespace lemmabox::testing
