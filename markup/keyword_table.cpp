#include "markup/keyword_table.h"
namespace vitalchart {
CKeywordTable::~CKeywordTable() = default;
int CKeywordTable::FindKeyword(const std::string&) const { return -1; }
int CKeywordTable::GetCount() { return 0; }
const char* CKeywordTable::GetName(int) { return ""; }
}
