#pragma once

#include <string>

#include "support/file_text.h"
#include "support/trace_parser.h"
#include "vitalchart/platform/win_types.h"

namespace vitalchart {
namespace test {

// A file in the temporary folder that is removed when this goes away.
class TempFile {
public:
    explicit TempFile(const std::string& strContent, const std::string& strSuffix = ".xml");
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

// One DrawPlugin call on a recording surface.
struct TraceRun {
    std::string strTemplate;  // template text, written to a temporary file
    std::string strData;      // data text
    int nTop = 0;
    int nLeft = 0;
    int nBottom = 800;
    int nRight = 600;
    int nNumX = 96;
    int nDenX = 96;
    int nNumY = 96;
    int nDenY = 96;
    BOOL bPrinting = 0;
    BOOL bFillBackground = 0;
    UINT nCodePage = CP_UTF8;
};

// Draws the run through DrawPlugin and returns the recording surface's trace.
std::string RenderTrace(const TraceRun& run);

// Compares the trace with tests/data/<name>.trace; on a mismatch writes
// <name>.trace.actual beside it and fails with both paths.
void ExpectGoldenTrace(const std::string& strName, const std::string& strTrace);

}  // namespace test
}  // namespace vitalchart
