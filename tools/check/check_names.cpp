#include "tools/check/check_names.h"

#include <algorithm>

namespace vitalchart {
namespace cli {

const std::vector<std::string>& CheckNames() {
    static const std::vector<std::string> names = {
        // Lines and tags the renderer skips.
        "not-a-tag", "indented-tag", "unknown-element", "unknown-tag", "rest-of-line", "blank-between-tags",
        "element-in-comment", "closing-tag", "first-byte", "too-large",
        // What the scanner cuts or misreads.
        "unclosed-tag", "semicolon", "unquoted-value", "long-name", "repeated-attribute", "unknown-attribute",
        // Pens and fonts.
        "missing-required", "unknown-pen", "unknown-font", "duplicate-id", "color", "print-color-late",
        // The chart size.
        "no-size", "size-not-first", "repeated-size", "missing-size",
        // Drawing elements.
        "draws-nothing", "missing-coordinate", "zero-scale", "symbol-kind", "times-one", "repeat-bound", "unknown-word",
        "relative-length", "number",
        // The readings.
        "encoding-mismatch", "byte-order-mark", "unused-reading", "no-readings", "column-range", "same-column",
        "off-scale", "rates-swapped", "cooling-link", "surgery-count",
        // The checker's own comments.
        "check-comment"};
    return names;
}

bool IsCheckName(const std::string& strName) {
    const std::vector<std::string>& names = CheckNames();
    return std::find(names.begin(), names.end(), strName) != names.end();
}

}  // namespace cli
}  // namespace vitalchart
