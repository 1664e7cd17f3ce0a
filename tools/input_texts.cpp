#include "tools/input_texts.h"

#include "tools/output_files.h"

namespace vitalchart {
namespace cli {

namespace {

// The code page a detected text is written in; ASCII fits either.
UINT CodePageOf(TextEncoding encoding, UINT nOtherwise) {
    if (encoding == TextEncoding::kGbk) return CP_GBK;
    if (encoding == TextEncoding::kUtf8) return CP_UTF8;
    return nOtherwise;
}

std::string NeitherMessage(const std::string& strPath, const std::string& strBytes, std::size_t nOffset) {
    std::size_t nLine = 1;
    for (std::size_t i = 0; i < nOffset && i < strBytes.size(); ++i) nLine += strBytes[i] == '\n' ? 1 : 0;
    char szByte[8];
    std::snprintf(szByte, sizeof szByte, "0x%02X", static_cast<unsigned char>(strBytes[nOffset]));
    return strPath + " is neither UTF-8 nor GBK (byte " + szByte + " on line " + std::to_string(nLine) +
           "); use --encoding to say what it is";
}

}  // namespace

bool CInputTexts::Read(const CommandLine& line, std::string& rError) {
    if (!ReadWholeFile(line.strTemplate, m_strTemplate, rError)) return false;
    m_encodings.push_back(DetectEncoding(m_strTemplate));
    if (line.codePage) {
        m_nCodePage = *line.codePage;
    } else if (m_encodings.front().encoding == TextEncoding::kNeither) {
        rError = NeitherMessage(line.strTemplate, m_strTemplate, m_encodings.front().nOffset);
        return false;
    } else {
        m_nCodePage = CodePageOf(m_encodings.front().encoding, CP_UTF8);
    }

    for (const std::string& strPath : line.dataFiles) {
        std::string strBytes;
        if (!ReadWholeFile(strPath, strBytes, rError)) return false;
        if (strBytes.size() > 0x7FFFFFFFu) {
            rError = strPath + " is too large";
            return false;
        }
        const DetectedEncoding detected = DetectEncoding(strBytes);
        m_encodings.push_back(detected);
        if (!line.codePage && detected.encoding == TextEncoding::kNeither) {
            rError = NeitherMessage(strPath, strBytes, detected.nOffset);
            return false;
        }
        const UINT nWritten = CodePageOf(detected.encoding, m_nCodePage);
        if (line.codePage || nWritten == m_nCodePage) {
            m_dataTexts.push_back(std::move(strBytes));
            continue;
        }
        std::string strConverted;
        std::string strWhy;
        if (!ConvertText(strBytes, nWritten, m_nCodePage, strConverted, strWhy)) {
            rError = strPath + " is " + EncodingName(detected.encoding) + " and the template " +
                     (m_nCodePage == CP_GBK ? "GBK" : "UTF-8") + ", but " + strWhy;
            return false;
        }
        m_conversions.push_back(strPath + " is " + EncodingName(detected.encoding) + "; read as " +
                                (m_nCodePage == CP_GBK ? "GBK" : "UTF-8") + " like the template");
        m_dataTexts.push_back(std::move(strConverted));
    }
    return true;
}

bool CInputTexts::AddUtf8Texts(std::vector<std::string> arrTexts, const std::string& strSource, std::string& rError) {
    for (std::string& strText : arrTexts) {
        if (m_nCodePage == CP_UTF8) {
            m_dataTexts.push_back(std::move(strText));
            continue;
        }
        std::string strConverted;
        std::string strWhy;
        if (!ConvertText(strText, CP_UTF8, m_nCodePage, strConverted, strWhy)) {
            rError = "the pages of " + strSource + " cannot be written in GBK like the template: " + strWhy;
            return false;
        }
        m_dataTexts.push_back(std::move(strConverted));
    }
    return true;
}

}  // namespace cli
}  // namespace vitalchart
