#pragma once

#include <memory>
#include <string>

#include "markup/byte_buffer.h"
#include "render/template_scan.h"
#include "vitalchart/platform/win_types.h"

namespace vitalchart {

// A chart template read whole into memory, as the drawing pass reads it from
// disk on every call; a host that draws many pages reads it once.
class CChartTemplate {
public:
    CChartTemplate();
    ~CChartTemplate();
    CChartTemplate(const CChartTemplate&) = delete;
    CChartTemplate& operator=(const CChartTemplate&) = delete;

    enum class Load { kLoaded, kNoBuffer, kNotFound };
    // Reads the file at the path, trimmed of white space ("vitalsign.xml"
    // when nothing is left), and scans it for drawing unless bScan is false
    // (the size query reads only up to its element).
    Load LoadFile(const char* pszPath, bool bScan = true);
    // Takes the template's bytes from memory; strPath names it in messages. 1 or 0.
    BOOL SetText(const std::string& strText, const std::string& strPath);

    // The path as settled, which on-page messages quote.
    const std::string& GetPath() const { return m_strPath; }
    // The template's bytes; empty before a successful load.
    const CByteBuffer& GetBuffer() const;
    // Its elements as the walk reads them for a surface of the code page (a
    // UTF-8 byte-order mark is passed over in UTF-8 only). Scanned once, when
    // the template is loaded, so that threads may share a loaded template.
    const CTemplateScan& GetScan(UINT nCodePage) const;

private:
    void ScanText();

    std::unique_ptr<CByteBuffer> m_pBuffer;
    std::string m_strPath;
    CTemplateScan m_scan;          // from the first byte
    CTemplateScan m_scanPastMark;  // past a UTF-8 byte-order mark, when there is one
    bool m_bByteOrderMark = false;
};

// The template path with white space trimmed, or "vitalsign.xml" when nothing is left.
std::string SettleTemplatePath(const char* pszPath);

}  // namespace vitalchart
