#pragma once

#include <fontconfig/fontconfig.h>

#include <string>

#include "vitalchart/export.h"

namespace vitalchart {

// The chart's font map: the file that maps the platform's face names to the
// free fonts installed here. VITALCHART_FONTS_CONF names it when set;
// otherwise it lies in the data folder of the library that holds this
// surface (share/vitalchart/vitalchart-fonts.conf beside lib/, or beside
// the lib/ that holds an architecture's folder of libraries), in a build
// tree as once installed. Empty when neither can be read.
VITALCHART_API std::string FindFontsConf();

// The system's fontconfig configuration with the chart's font map added,
// read once per process and shared by every surface; the caller owns one
// reference. Null when fontconfig cannot build one.
VITALCHART_API FcConfig* SharedFontConfig();

// Makes the shared configuration fontconfig's current one for the whole
// process. Pango's fontconfig font maps read the current configuration
// once per process, on a thread of their own, whatever configuration the
// map is given; with the chart's one current that reading costs nothing,
// where it would otherwise build the system's configuration a second time.
// False when fontconfig cannot build the configuration.
VITALCHART_API bool MakeSharedFontConfigCurrent();

// MakeSharedFontConfigCurrent on a thread of its own (here when no thread
// can be had), so that the caller goes on while fontconfig reads the
// system's files; once per process. AwaitSharedFontConfig waits for it, and
// returns at once when it was never begun.
VITALCHART_API void BeginSharedFontConfig();
VITALCHART_API void AwaitSharedFontConfig();

}  // namespace vitalchart

// BeginSharedFontConfig for a program that loads this library by name, so
// that the configuration is read while the drawing libraries still load.
extern "C" VITALCHART_API void vitalchart_begin_shared_fonts();
