#pragma once

#include "tools/command_line.h"
#include "tools/input_texts.h"

namespace vitalchart {
namespace cli {

// What `vitalchart render` says of its inputs before it draws: it runs the
// checker on them, as `vitalchart check` with the same files, encoding and
// --disable would (but for the files' encodings: render converts a data text
// in the other one and says so itself), and prints nothing when the checker
// has no warning; else
// one line on standard error that counts the warnings and gives the check
// command that explains them. Returns 0 to go on drawing, or 2 when --strict
// makes the warnings an error (the line says so; nothing is to be written).
int CheckBeforeRender(const CommandLine& line, const CInputTexts& inputs);

}  // namespace cli
}  // namespace vitalchart
