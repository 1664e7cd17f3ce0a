#pragma once

#include <cstddef>

#include "tools/command_line.h"
#include "tools/input_texts.h"
#include "tools/template_checker.h"

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

// CheckBeforeRender in steps, so that the checker can run beside the
// drawing: the texts walked, then the readings checked and the warnings
// counted (both only read the inputs, which must stay), then what render says
// of them and whether it goes on.
class CRenderCheck {
public:
    CRenderCheck(const CommandLine& line, const CInputTexts& inputs);

    void Walk();
    // After Walk.
    std::size_t CountWarnings();

private:
    const CInputTexts& m_inputs;
    CStagedCheck m_check;
};
int ReportRenderWarnings(const CommandLine& line, std::size_t nWarnings);

}  // namespace cli
}  // namespace vitalchart
