#include "tools/serve/json_kind.h"

#include <nlohmann/json.hpp>

namespace vitalchart {
namespace cli {

namespace {

// Follows the nesting depth and looks only at the outermost object's members.
class CBundleSniffer : public nlohmann::json::json_sax_t {
public:
    bool null() override { return Value(); }
    bool boolean(bool) override { return Value(); }
    bool number_integer(number_integer_t) override { return Value(); }
    bool number_unsigned(number_unsigned_t) override { return Value(); }
    bool number_float(number_float_t, const string_t&) override { return Value(); }
    bool string(string_t& str) override {
        if (m_nDepth == 1 && m_bResourceType && str == "Bundle") m_bBundle = true;
        return Value();
    }
    bool binary(binary_t&) override { return Value(); }
    bool start_object(std::size_t) override { return Open(true); }
    bool key(string_t& str) override {
        m_bResourceType = m_nDepth == 1 && m_bOuterObject && str == "resourceType";
        return true;
    }
    bool end_object() override { return Close(); }
    bool start_array(std::size_t) override { return Open(false); }
    bool end_array() override { return Close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::json::exception& error) override {
        m_strError = error.what();
        return false;
    }

    bool IsBundle() const { return m_bBundle; }
    const std::string& GetError() const { return m_strError; }

private:
    bool Value() {
        m_bResourceType = false;
        return true;
    }
    bool Open(bool bObject) {
        if (m_nDepth == 0) m_bOuterObject = bObject;
        ++m_nDepth;
        m_bResourceType = false;
        return true;
    }
    bool Close() {
        --m_nDepth;
        return true;
    }

    std::size_t m_nDepth = 0;
    bool m_bOuterObject = false;
    bool m_bResourceType = false;  // the value about to come is the outer object's "resourceType"
    bool m_bBundle = false;
    std::string m_strError;
};

}  // namespace

JsonKind SniffJson(std::string_view bytes, std::string& rError) {
    CBundleSniffer sniffer;
    if (!nlohmann::json::sax_parse(bytes.begin(), bytes.end(), &sniffer)) {
        rError = sniffer.GetError().empty() ? "the body is not JSON" : sniffer.GetError();
        return JsonKind::kMalformed;
    }
    return sniffer.IsBundle() ? JsonKind::kBundle : JsonKind::kOther;
}

}  // namespace cli
}  // namespace vitalchart
