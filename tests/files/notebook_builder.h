// Building notebooks for the files tests and for the shipped files (the
// new-notebook template and the examples): typing into a notebook of our own,
// adding propositions through the model, and comments with styled text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/comment_tree.h"
#include "editor/selection_list.h"
#include "mathobj/object.h"
#include "platform/headless_platform.h"

namespace lemmabox::testing {

// A run of comment text in one style; '\n' starts a new paragraph.
struct TextRun {
  std::string text;
  bool bold = false;
  bool italic = false;
  int size = 12;
  Rgb colour{};
};
CommentTree RichComment(const std::vector<TextRun>& runs);

// A notebook with a window of its own in front: the one given (a template
// read, say) or a new empty one. It is closed with the builder.
class NotebookBuilder {
 public:
  explicit NotebookBuilder(Handle notebook = nullptr);
  ~NotebookBuilder();
  NotebookBuilder(const NotebookBuilder&) = delete;
  NotebookBuilder& operator=(const NotebookBuilder&) = delete;

  Handle Notebook() const { return notebook_; }
  HeadlessPlatform& Platform() { return platform_; }

  // Appends a proposition to theory (the Main Theory when null) at an
  // indentation; returns it.
  Handle Append(Handle prop, int indentation = 0, Handle theory = nullptr);
  // A new assumption typed from a script, appended.
  Handle Assume(std::string_view script, int indentation = 0, Handle theory = nullptr);
  // Types a script into slot `slot` of obj (a question mark there).
  void TypeInto(Handle obj, int slot, std::string_view script);
  // A declaration of name with the class letter (c v m d f), appended.
  Handle Declare(std::string_view name, char classLetter, int indentation = 0,
                 Handle theory = nullptr);
  Handle Comment(const std::vector<TextRun>& runs, int indentation = 0, Handle theory = nullptr);
  // Runs manipulation `number` on the whole statement of source (or on the
  // part `part` of it, by slot path) and returns the conclusion made.
  Handle Derive(Handle source, int number, std::vector<int> part = {});
  // Commits pending edits and interprets the whole notebook again.
  void Settle();

 private:
  void Type(std::string_view script);

  HeadlessPlatform platform_;
  Handle notebook_ = nullptr;
  NotebookView* view_ = nullptr;
};

// The new-notebook template: a heading comment over a collapsed group of the
// declarations of every predefined name.
Handle BuildTemplate();
// The shipped examples, by file name (without the folder).
std::vector<std::string> ExampleNames();
Handle BuildExample(const std::string& name);

// Where the repository is (LEMMABOX_SOURCE_DIR, set by CTest).
std::string SourceDir();
std::string ReadBytes(const std::string& path);

}  // namespace lemmabox::testing
