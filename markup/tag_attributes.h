#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace vitalchart {

// One name and value of a tag as the scanner read them: views into the line.
struct TagAttribute {
    std::string_view name;
    std::string_view value;
};

// A tag's attributes in the order the scanner read them, and the key/value
// pairs of its props attribute, as views into the text the tag was read from
// (valid while that text lives). An attribute written twice is kept twice:
// Find gives the last, as storing a key again replaces its value. The store
// is meant to be reused tag after tag, keeping its capacity.
class CTagAttributes {
public:
    // Forgets the attributes of the tag before.
    void Clear() {
        m_attributes.clear();
        m_styles.clear();
    }
    void AddAttribute(std::string_view name, std::string_view value) { Add(m_attributes, name, value); }
    void AddStyle(std::string_view key, std::string_view value) { Add(m_styles, key, value); }

    // The value of the attribute with this exact name (the last one written),
    // or null.
    const std::string_view* Find(std::string_view name) const {
        for (std::size_t i = m_attributes.size(); i-- > 0;) {
            if (m_attributes[i].name == name) return &m_attributes[i].value;
        }
        return nullptr;
    }

    const std::vector<TagAttribute>& GetAttributes() const { return m_attributes; }
    const std::vector<TagAttribute>& GetStyles() const { return m_styles; }

private:
    // Written field by field: building the pair on the stack first and
    // copying it whole costs the scanner a stalled load for every attribute.
    static void Add(std::vector<TagAttribute>& rList, std::string_view name, std::string_view value) {
        rList.emplace_back();
        TagAttribute& rLast = rList.back();
        rLast.name = name;
        rLast.value = value;
    }

    std::vector<TagAttribute> m_attributes;
    std::vector<TagAttribute> m_styles;
};

}  // namespace vitalchart
