#pragma once

#include <memory>
#include <string>

#include "markup/byte_buffer.h"
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
    // when nothing is left).
    Load LoadFile(const char* pszPath);
    // Takes the template's bytes from memory; strPath names it in messages. 1 or 0.
    BOOL SetText(const std::string& strText, const std::string& strPath);

    // The path as settled, which on-page messages quote.
    const std::string& GetPath() const { return m_strPath; }
    // The template's bytes; empty before a successful load.
    const CByteBuffer& GetBuffer() const;

private:
    std::unique_ptr<CByteBuffer> m_pBuffer;
    std::string m_strPath;
};

// The template path with white space trimmed, or "vitalsign.xml" when nothing is left.
std::string SettleTemplatePath(const char* pszPath);

}  // namespace vitalchart
