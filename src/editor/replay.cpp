#include "editor/replay.h"

#include "editor/perform.h"
#include "shell/command_codes.h"
#include "shell/failure.h"
#include "shell/interrupt.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

constexpr int kRecordMarker = '~';
constexpr int kAlternativeMarker = 0xFF;

void NoRecords(char, ScriptStream&) {
  Raise(kMsgCorruptData);
}

ScriptRecordReader gRecordReader = &NoRecords;

}  // namespace

int ScriptStream::Get() {
  last_ = position_;
  if (position_ >= text_.size()) return -1;
  const auto c = static_cast<unsigned char>(text_[position_++]);
  if (c == '\r') {
    if (position_ < text_.size() && text_[position_] == '\n') ++position_;
    return '\n';
  }
  return c;
}

int ScriptStream::Peek() {
  const size_t saved = last_;
  const int c = Get();
  Unget();
  last_ = saved;
  return c;
}

void SetScriptRecordReader(ScriptRecordReader reader) {
  gRecordReader = reader != nullptr ? reader : &NoRecords;
}

void ReplayScript(std::string_view text) {
  ScriptStream in(text);
  for (int c = in.Get(); c >= 0; c = in.Get()) {
    if (c == kRecordMarker || c == kAlternativeMarker) {
      const int tag = in.Get();
      if (tag == '\n') {
        // A continued line goes on after the blank.
        if (in.Get() != ' ') Raise(kMsgCorruptData);
      } else if (tag >= '@' && tag <= 'w') {
        gRecordReader(static_cast<char>(tag), in);
      } else {
        Raise(kMsgCorruptData);
      }
    } else {
      ReplayCode(TypeCharCommand(static_cast<uint8_t>(c)));
    }
    CheckInterrupt();
  }
}

}  // namespace lemmabox
