#include "files/file_fields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "editor/table_data.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

bool EndsToken(int c) {
  return c < 0 || c == ' ' || c == '\n' || c == '~' || c == 0xFF;
}

[[noreturn]] void Corrupt() {
  Raise(kMsgCorruptData);
}

}  // namespace

void AppendFormat(std::string& out, const char* format, ...) {
  char text[256];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (n > 0) out.append(text, std::min(static_cast<size_t>(n), sizeof text - 1));
}

void FieldReader::Expect(int c) {
  if (in_.Get() != c) Corrupt();
}

void FieldReader::SkipLineEnd() {
  if (in_.Peek() == '\n') in_.Get();
}

std::string FieldReader::Token(size_t maxChars) {
  int c = in_.Get();
  while (c == ' ' || c == '\n') c = in_.Get();
  std::string token;
  while (!EndsToken(c)) {
    if (token.size() >= maxChars) Corrupt();
    token.push_back(static_cast<char>(c));
    c = in_.Get();
  }
  if (c == '~' || c == 0xFF) in_.Unget();
  if (token.empty()) Corrupt();
  return token;
}

int64_t FieldReader::Number(int64_t low, int64_t high, size_t maxChars) {
  const std::string token = Token(maxChars);
  if (token == "?") return low;
  const char* first = token.data();
  const char* last = first + token.size();
  if (*first == '+') ++first;
  int64_t value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (end != last || error == std::errc::invalid_argument) Corrupt();
  if (error == std::errc::result_out_of_range) value = *first == '-' ? INT64_MIN : INT64_MAX;
  if (value < low || value > high) {
    if (!lenient_) Corrupt();
    value = value < low ? low : high;
  }
  return value;
}

double FieldReader::Real(double low, double high) {
  const std::string token = Token(40);
  if (token == "?") return low;
  double value = 0;
  const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  if (end != token.data() + token.size() || error != std::errc() || std::isnan(value)) Corrupt();
  if (value < low || value > high) {
    if (!lenient_) Corrupt();
    value = value < low ? low : high;
  }
  return value;
}

double FieldReader::RealOrUndefined() {
  const std::string token = Token(40);
  if (token == "?") return UndefinedTableValue();
  double value = 0;
  const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  if (end != token.data() + token.size() || error != std::errc() || std::isnan(value)) Corrupt();
  return value;
}

bool FieldReader::MoreFields() {
  int c = in_.Peek();
  while (c == ' ' || c == '\n') {
    in_.Get();
    c = in_.Peek();
  }
  return !EndsToken(c);
}

std::string FieldReader::Quoted(size_t maxLength) {
  int c = in_.Get();
  while (c == ' ' || c == '\n') c = in_.Get();
  if (c != '"') Corrupt();
  std::string text;
  for (c = in_.Get(); c != '"'; c = in_.Get()) {
    if (c < 0) Corrupt();
    if (text.size() >= maxLength) {
      if (!lenient_) Corrupt();
      continue;
    }
    text.push_back(static_cast<char>(c));
  }
  const int after = in_.Peek();
  if (after == ' ' || after == '\n') in_.Get();
  return text;
}

}  // namespace lemmabox
