#include "markup/line_walk.h"

namespace vitalchart {

void WalkLines(const CByteBuffer& buffer, const TagStep& step, std::int32_t nStart) {
    if (!step) return;
    WalkTextLines(buffer.GetPtr(0), buffer.GetLength(), step, nStart);
}

void WalkLinesNumbered(const CByteBuffer& buffer, const NumberedTagStep& step) {
    if (!step) return;
    WalkTextLinesNumbered(buffer.GetPtr(0), buffer.GetLength(), step);
}

}  // namespace vitalchart
