#include "markup/line_walk.h"
namespace vitalchart {
void WalkLines(const CByteBuffer&, const TagStep&) {}
}
