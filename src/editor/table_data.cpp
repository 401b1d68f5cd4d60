#include "editor/table_data.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "notebook/propositions.h"
#include "shell/charset.h"
#include "shell/messages.h"
#include "shell/string_cache.h"

namespace lemmabox {
namespace {

// A line of the text longer than this is quoted cut, with "..." after it.
constexpr size_t kQuotedLine = 13;

struct Line {
  std::vector<double> values;
  std::string text;
};

bool StartsToken(uint8_t c) {
  return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == '?' ||
         c == kCharInfinity;
}

double TokenValue(const std::string& token) {
  if (token == "?") return UndefinedTableValue();
  if (token.size() == 1 && static_cast<uint8_t>(token[0]) == kCharInfinity)
    return std::numeric_limits<double>::infinity();
  if (token.size() == 2 && token[0] == '-' && static_cast<uint8_t>(token[1]) == kCharInfinity)
    return -std::numeric_limits<double>::infinity();
  return std::strtod(token.c_str(), nullptr);
}

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines(1);
  std::string token;
  bool exponent = false;
  auto endToken = [&] {
    if (!token.empty()) lines.back().values.push_back(TokenValue(token));
    token.clear();
    exponent = false;
  };
  for (char ch : text) {
    const auto c = static_cast<uint8_t>(ch);
    if (c == '\n') {
      endToken();
      lines.emplace_back();
      continue;
    }
    if (c != '\r') lines.back().text.push_back(ch);
    if (StartsToken(c)) {
      token.push_back(ch);
    } else if ((c == 'e' || c == 'E') && !token.empty() && !exponent) {
      token.push_back(ch);
      exponent = true;
    } else {
      endToken();
    }
  }
  endToken();
  std::erase_if(lines, [](const Line& line) { return line.values.empty(); });
  return lines;
}

}  // namespace

double UndefinedTableValue() {
  // The calculation engine's undefined value: a quiet NaN with every bit but
  // the sign set.
  return std::bit_cast<double>(uint64_t{0x7FFFFFFFFFFFFFFF});
}

TableData ReadTableData(std::string_view text, bool complex) {
  TableData data;
  data.complex = complex;
  const std::vector<Line> lines = SplitLines(text);
  if (lines.empty()) return data;
  const size_t columns = lines.front().values.size();
  if (columns > 3) {
    data.failure = kMsgTooManyDataColumns;
    return data;
  }
  if (columns == 3 && !complex) {
    data.failure = kMsgThreeColumnData;
    return data;
  }
  for (const Line& line : lines) {
    if (line.values.size() != columns) {
      data.failure = kMsgRaggedDataLines;
      data.offendingLine = line.text;
      return data;
    }
  }
  const bool domain = complex ? columns == 3 : columns == 2;
  std::vector<double> xs;
  for (const Line& line : lines) {
    size_t i = 0;
    if (domain) xs.push_back(line.values[i++]);
    data.values.push_back(line.values[i++]);
    if (complex) data.values.push_back(i < line.values.size() ? line.values[i] : 0.0);
  }
  data.points = static_cast<int>(lines.size());
  if (domain && xs.size() >= 2) {
    double smallest = std::numeric_limits<double>::infinity();
    double largest = -std::numeric_limits<double>::infinity();
    for (size_t k = 1; k < xs.size(); ++k) {
      const double difference = xs[k] - xs[k - 1];
      smallest = std::min(smallest, difference);
      largest = std::max(largest, difference);
    }
    if (smallest != 0 && std::abs((largest - smallest) / smallest) < 0.001) {
      data.start = xs.front();
      data.step = (xs.back() - xs.front()) / static_cast<double>(xs.size() - 1);
    } else {
      data.start = 1;
      data.step = 1;
      data.unevenDomain = true;
    }
  } else if (domain) {
    data.start = xs.front();
  }
  return data;
}

std::string TableDataFailureText(const TableData& data) {
  std::string text = MessageText(data.failure);
  if (data.failure == kMsgRaggedDataLines) {
    std::string quoted = data.offendingLine.substr(0, kQuotedLine);
    if (data.offendingLine.size() > kQuotedLine) quoted += "...";
    text += " \"" + quoted + "\"";
  }
  return text;
}

Handle NewTableFromData(const TableData& data) {
  Handle table = NewTable(1, data.complex, data.points);
  TableRecord& record = TableRec(table);
  record.start = data.start;
  record.step = data.step;
  double* values = TableValues(table);
  for (size_t i = 0; i < data.values.size(); ++i) values[i] = data.values[i];
  return table;
}

}  // namespace lemmabox
