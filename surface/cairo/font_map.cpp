#include "surface/cairo/font_map.h"

#include <pango/pangofc-fontmap.h>

#include <mutex>
#include <new>
#include <vector>

#include "surface/cairo/font_config.h"

namespace vitalchart {

namespace {

PangoFontMap* MakeFontMap() {
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

// Font maps of threads that have ended, each kept for a thread that starts
// later: a thread that takes one finds the chart's fonts matched and loaded
// already, where making its own would cost its first page several
// milliseconds. Each map still serves one thread at a time.
class CIdleFontMaps {
public:
    // A map to use, the caller's reference, or null when none is idle.
    PangoFontMap* Take() {
        const std::lock_guard<std::mutex> guard(m_mutex);
        if (m_maps.empty()) return nullptr;
        PangoFontMap* pFontMap = m_maps.back();
        m_maps.pop_back();
        return pFontMap;
    }
    // Keeps the caller's reference to a map no one else holds.
    void Give(PangoFontMap* pFontMap) {
        const std::lock_guard<std::mutex> guard(m_mutex);
        try {
            m_maps.push_back(pFontMap);
        } catch (const std::bad_alloc&) {
            g_object_unref(pFontMap);
        }
    }

private:
    std::mutex m_mutex;
    std::vector<PangoFontMap*> m_maps;  // at most one for each thread that ever ran at once
};

// Never destroyed: a thread may end while the process exits.
CIdleFontMaps& IdleFontMaps() {
    static CIdleFontMaps* const s_pMaps = new CIdleFontMaps;
    return *s_pMaps;
}

// The thread's reference: when the thread ends, the map waits for another
// thread if nothing made on this one holds it still, and goes otherwise.
class CThreadFontMap {
public:
    CThreadFontMap() = default;
    ~CThreadFontMap() {
        if (m_pFontMap == nullptr) return;
        // (With no other reference, no other thread can take one meanwhile.)
        if (G_OBJECT(m_pFontMap)->ref_count == 1) {
            IdleFontMaps().Give(m_pFontMap);
        } else {
            g_object_unref(m_pFontMap);
        }
    }
    CThreadFontMap(const CThreadFontMap&) = delete;
    CThreadFontMap& operator=(const CThreadFontMap&) = delete;

    PangoFontMap* Get() {
        if (m_pFontMap == nullptr) m_pFontMap = IdleFontMaps().Take();
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
