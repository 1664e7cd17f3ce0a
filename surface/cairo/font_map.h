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
// Returns a new reference, which the caller releases with g_object_unref;
// the thread's own reference is released when the thread ends (for the main
// thread: when the process exits), and the font map goes when the last
// surface holding it does.
PangoFontMap* RefThreadFontMap();

}  // namespace vitalchart
