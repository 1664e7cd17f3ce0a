#include "surface/cairo/font_map.h"

#include <pango/pangofc-fontmap.h>

#include "surface/cairo/font_config.h"

namespace vitalchart {

namespace {

PangoFontMap* MakeFontMap() {
    // Pango's font map reads fontconfig's current configuration as it is
    // made: the chart's, when it is being made current.
    AwaitSharedFontConfig();
    PangoFontMap* pFontMap = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    if (pFontMap == nullptr) pFontMap = pango_cairo_font_map_new();
    FcConfig* pConfig = SharedFontConfig();
    if (pConfig != nullptr) {
        // The font map takes its own reference.
        if (PANGO_IS_FC_FONT_MAP(pFontMap)) pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(pFontMap), pConfig);
        FcConfigDestroy(pConfig);
    }
    return pFontMap;
}

// The thread's reference, dropped when the thread ends.
class CThreadFontMap {
public:
    CThreadFontMap() = default;
    ~CThreadFontMap() {
        if (m_pFontMap != nullptr) g_object_unref(m_pFontMap);
    }
    CThreadFontMap(const CThreadFontMap&) = delete;
    CThreadFontMap& operator=(const CThreadFontMap&) = delete;

    PangoFontMap* Get() {
        if (m_pFontMap == nullptr) m_pFontMap = MakeFontMap();
        return m_pFontMap;
    }

private:
    PangoFontMap* m_pFontMap = nullptr;
};

thread_local CThreadFontMap t_fontMap;

}  // namespace

PangoFontMap* RefThreadFontMap() {
    return PANGO_FONT_MAP(g_object_ref(t_fontMap.Get()));
}

}  // namespace vitalchart
