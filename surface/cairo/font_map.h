#pragma once

// clang-format off
#include <pango/pangocairo.h>
// clang-format on

namespace vitalchart {

// The chart's Pango font map of the calling thread: the text library's font
// map over the chart's fontconfig configuration (font_config.h), made when
// the thread's first surface needs it and shared by every surface that
// thread makes afterwards, so fonts are matched and loaded once a thread, not
// once a chart. A font map may only be used by one thread at a time, so each
// thread has its own, and a surface is drawn on the thread that made it.
//
// Returns a new reference, which the caller releases with g_object_unref.
// When the thread ends, its font map is kept for the next thread that needs
// one, if no surface made on the ending thread still holds it; otherwise the
// thread's reference is released and the map goes with the last surface.
PangoFontMap* RefThreadFontMap();

}  // namespace vitalchart
