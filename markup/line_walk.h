#pragma once

#include <cstdint>
#include <functional>

#include "markup/byte_buffer.h"

namespace vitalchart {

// The per-tag step of a line walk: given the line (zero-terminated), its
// length and the position, it handles the tag there and leaves the position
// past it, or sets it to the length to give up the rest of the line. It
// returns false to end the whole walk.
using TagStep = std::function<bool(const char* pszLine, std::int32_t nLength, std::int32_t& nPos)>;

// Cuts the buffer into lines at line feeds, drops one trailing carriage
// return per line, skips empty lines and runs the step over each line while
// the position is below the line's length. A step that does not advance is
// made to give up the line, so no step can hold the walk still. The walk
// begins at byte nStart (past a byte-order mark, say).
void WalkLines(const CByteBuffer& buffer, const TagStep& step, std::int32_t nStart = 0);

// The per-tag step of a numbered walk: a TagStep that is also given the
// 1-based number of the line in the buffer (empty lines count).
using NumberedTagStep =
    std::function<bool(std::int32_t nLineNumber, const char* pszLine, std::int32_t nLength, std::int32_t& nPos)>;

// WalkLines for tools that report where things are: the same lines, steps
// and positions, with each line's number handed to the step.
void WalkLinesNumbered(const CByteBuffer& buffer, const NumberedTagStep& step);

}  // namespace vitalchart
