#include "plugin/host_dc.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "surface/gdi/gdi_dc.h"

namespace vitalchart {

namespace {

// The leading members of the host framework's device-context object: its
// virtual-table pointer, then m_hDC (drawn on), m_hAttribDC (queried) and
// m_bPrinting. The framework documents them as public and never moves them.
struct HostDCLayout {
    const void* pVirtualTable;
    void* hDC;
    void* hAttribDC;
    std::int32_t bPrinting;
};
static_assert(sizeof(void*) != 4 || (offsetof(HostDCLayout, hDC) == 4 && offsetof(HostDCLayout, hAttribDC) == 8 &&
                                     offsetof(HostDCLayout, bPrinting) == 12),
              "the 32-bit layout of the host's device-context object");

}  // namespace

std::unique_ptr<CDC> WrapHostDC(const void* pHostDC) {
    if (pHostDC == nullptr) return nullptr;
    // Only the members are read, never the virtual table: the host's object
    // is a foreign class whose other parts this module does not know.
    HostDCLayout layout;
    std::memcpy(&layout, pHostDC, sizeof layout);
    if (layout.hDC == nullptr) return nullptr;
    return std::make_unique<CGdiDC>(layout.hDC, layout.hAttribDC, layout.bPrinting);
}

}  // namespace vitalchart
