#pragma once

#include "surface/gdi/windows_api.h"
#include "vitalchart/platform/gdi_objects.h"

namespace vitalchart {

// A chart font's description as the system's ANSI LOGFONT, and back. The face
// name is cut to its field and always terminated.
::LOGFONTA ToLogFontA(const LOGFONT& lf);
LOGFONT FromLogFontA(const ::LOGFONTA& lf);

}  // namespace vitalchart
