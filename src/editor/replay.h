// Replaying a typing script: the characters of a script are typed at the
// front view's selection one by one, as a notebook file or a paste is read.
// A record marker ('~', or the byte 0xFF) followed by a line feed and a blank
// continues a long line; followed by a tag in '@'..'w' it starts a record,
// which the record reader takes (the notebook file reader installs its own).
#pragma once

#include <cstddef>
#include <string_view>

namespace lemmabox {

// The characters of a script, with CR LF and a lone CR read as LF.
class ScriptStream {
 public:
  explicit ScriptStream(std::string_view text) : text_(text) {}
  // The next character (0..255), or -1 at the end.
  int Get();
  // Puts back the character just read.
  void Unget() { position_ = last_; }
  int Peek();
  bool AtEnd() const { return position_ >= text_.size(); }

 private:
  std::string_view text_;
  size_t position_ = 0;
  size_t last_ = 0;
};

// Reads the record with this tag (the marker and tag already read). The
// default reader knows no record: 13148.
using ScriptRecordReader = void (*)(char tag, ScriptStream& in);
void SetScriptRecordReader(ScriptRecordReader reader);

// Types the script at the selection of the front view (within the command
// already running: no Undo record of its own). A malformed continuation or
// record raises 13148; the interrupt check runs after each character.
void ReplayScript(std::string_view text);

}  // namespace lemmabox
