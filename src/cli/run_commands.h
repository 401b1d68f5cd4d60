// The command-line tool's commands, through the same driver, cascade and
// notebook files as the desktop, on a headless notebook:
//
//   run --op NAME [--declare NAMES] EXPR   one manipulation of the whole
//                                         expression, the result printed
//   eval [--declare NAMES] EXPR            Calculate, the value printed
//   check NOTEBOOK                        every conclusion derived again, one
//                                         line each; exit 1 when any fails
//   convert IN OUT                        a notebook read and written again,
//                                         or drawn as EPS or PostScript
//
// Each takes the arguments after its command word and returns the exit code:
// 0 success, 1 a check found errors, 2 the input could not be used (the
// message on stderr).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "shell/types.h"

namespace lemmabox::cli {

int RunOpCommand(const std::vector<std::string>& args);
int EvalCommand(const std::vector<std::string>& args);
int CheckCommand(const std::vector<std::string>& args);
int ConvertCommand(const std::vector<std::string>& args);

// The names run --op knows, separated by blanks.
std::string OperationNames();

// The check of an open notebook: re-derives every conclusion and writes one
// line per conclusion (its label, its statement, "fresh" or the text of its
// error); returns 1 when any could not be derived, else 0.
int CheckNotebook(Handle notebook, std::FILE* out);

}  // namespace lemmabox::cli
