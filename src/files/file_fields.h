// The fields of notebook-file records: decimal numbers, reals and quoted
// texts, each followed by one blank (or a line end), written with printf
// formats and read back with their ranges.
//
// A field read may be the single character '?', which stands for the field's
// default, the lower end of its range. A value outside its range is
// corruption (13148) unless the reader is lenient, which clamps it. A field
// that is not a number at all is always corruption.
#pragma once

#include <cstdint>
#include <string>

#include "editor/replay.h"

namespace lemmabox {

// Appends printf-formatted text to out.
void AppendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

// A colour's three bytes packed as one field: first * 65536 + second * 256 + third.
constexpr int32_t kMaxPackedColour = 0xFFFFFF;

class FieldReader {
 public:
  FieldReader(ScriptStream& in, bool lenient) : in_(in), lenient_(lenient) {}

  int Get() { return in_.Get(); }
  int Peek() { return in_.Peek(); }
  // The next character must be c (13148 otherwise).
  void Expect(int c);
  // Takes a line end when one comes next.
  void SkipLineEnd();

  // A "%hd" field (a token of at most 15 characters) and a "%ld" field (at
  // most 20), in low..high.
  int32_t Short(int32_t low, int32_t high) { return static_cast<int32_t>(Number(low, high, 15)); }
  int32_t Long(int32_t low, int32_t high) { return static_cast<int32_t>(Number(low, high, 20)); }
  // A real field in low..high.
  double Real(double low, double high);
  // A real value, or '?' for the undefined value (the quiet NaN tables hold).
  double RealOrUndefined();
  // Whether another field follows before the next record (blanks and line
  // ends skipped).
  bool MoreFields();
  // A text in double quotes of at most maxLength characters.
  std::string Quoted(size_t maxLength);

  bool lenient() const { return lenient_; }
  ScriptStream& stream() { return in_; }

 private:
  int64_t Number(int64_t low, int64_t high, size_t maxChars);
  // The next token: blanks and line ends before it skipped, the one that
  // ends it taken; a record marker ends it too but stays.
  std::string Token(size_t maxChars);

  ScriptStream& in_;
  bool lenient_;
};

}  // namespace lemmabox
