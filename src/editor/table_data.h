// Reading columns of numbers (pasted text, data files) into a table.
//
// Numbers are tokens of digits, '.', '-', '+', '?' and the infinity
// character, with one 'e' or 'E' once a token has begun; anything else ends
// a token and a line feed ends a line. The first line with numbers fixes the
// layout: one value a line (the value), two (a real table's domain and value,
// or a complex table's real and imaginary parts), three (a complex table's
// domain, real and imaginary parts). Lines without numbers are skipped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "mathobj/object.h"

namespace lemmabox {

struct TableData {
  // 0 when the text was read; else the message that says why not (13303,
  // 13304, 13305), with the offending line for 13305.
  MessageNumber failure = 0;
  std::string offendingLine;
  bool complex = false;
  int points = 0;
  // One value a point, or the real and imaginary parts in turn.
  std::vector<double> values;
  double start = 0;
  double step = 1;
  // Domain values that are not equally spaced: start and step fell back to
  // 1 and the user is told (13306).
  bool unevenDomain = false;
};

// The value a table holds where nothing could be computed.
double UndefinedTableValue();

TableData ReadTableData(std::string_view text, bool complex);

// The failure's alert text, with the offending line quoted (at most 13
// characters, then "...") for 13305.
std::string TableDataFailureText(const TableData& data);

// A new detached table holding the data (name a question mark).
Handle NewTableFromData(const TableData& data);

}  // namespace lemmabox
