#include "markup/keyword_table.h"

namespace vitalchart {

namespace {

struct KeywordEntry {
    const char* pszName;
    int nCode;
};

// The search order; entries 7 and 8 carry codes 107 and 106.
constexpr KeywordEntry kKeywords[] = {
    {"vitalsign", kElementSign},         {"vitalpen", kElementPen},         {"vitalfont", kElementFont},
    {"vitalline", kElementLine},         {"vitaltext", kElementText},       {"vitallineout", kElementLineOut},
    {"vitalsize", kElementSize},         {"vitaltextout", kElementTextOut}, {"vitallineblock", kElementLineBlock},
};

constexpr int kKeywordCount = static_cast<int>(sizeof(kKeywords) / sizeof(kKeywords[0]));

}  // namespace

CKeywordTable::~CKeywordTable() = default;

int CKeywordTable::FindKeyword(const std::string& strName) const {
    for (const KeywordEntry& entry : kKeywords) {
        // Exact, case-sensitive, whole-name comparison (an embedded zero byte
        // makes the name differ, since std::string compares the lengths too).
        if (strName == entry.pszName) return entry.nCode;
    }
    return kElementUnknown;
}

int CKeywordTable::GetCount() { return kKeywordCount; }

const char* CKeywordTable::GetName(int nIndex) {
    if (nIndex < 0 || nIndex >= kKeywordCount) return nullptr;
    return kKeywords[nIndex].pszName;
}

}  // namespace vitalchart
