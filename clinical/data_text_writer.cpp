#include "clinical/data_text_writer.h"

namespace vitalchart::clinical {

namespace {

void Attribute(std::string& rLine, const char* pszName, const std::string& strValue) {
    rLine += ' ';
    rLine += pszName;
    rLine += "=\"";
    rLine += strValue;
    rLine += '"';
}

}  // namespace

bool CDataTextWriter::IsSafeText(std::string_view strText) {
    for (char c : strText) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == ';' || b < 0x20 || b == 0x7F) return false;
    }
    return true;
}

bool CDataTextWriter::Write(const CDataTag& tag) {
    for (const std::string* p :
         {&tag.m_strName, &tag.m_strValue, &tag.m_strOriginalValue, &tag.m_strComparator, &tag.m_strReason}) {
        if (!IsSafeText(*p)) return false;
    }
    std::string strLine = "<d";
    Attribute(strLine, "vitalsigns", tag.m_strName);
    Attribute(strLine, "vitalsignsvalues", tag.m_strValue);
    Attribute(strLine, "cellindex", std::to_string(tag.m_nCell));
    if (tag.m_bLinked) {
        Attribute(strLine, "vitalsignsoriginalvalues", tag.m_strOriginalValue);
        Attribute(strLine, "originalCellIndex", std::to_string(tag.m_nOriginalCell));
    }
    if (tag.m_nFlag != 0) Attribute(strLine, "specialSymbolFlag", std::to_string(tag.m_nFlag));
    if (!tag.m_strComparator.empty()) Attribute(strLine, "comparator", tag.m_strComparator);
    if (!tag.m_strReason.empty()) Attribute(strLine, "reason", tag.m_strReason);
    strLine += "/>\n";
    m_strText += strLine;
    return true;
}

}  // namespace vitalchart::clinical
