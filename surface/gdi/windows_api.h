#pragma once

// The one place the GDI surface includes windows.h. The chart's own platform
// declarations must come first: windows.h defines many of the same names as
// macros, which would rewrite them if it came first. Afterwards the macros
// that would rename the surface's operations are removed.
#include "vitalchart/platform/win_types.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef DrawText
#undef TextOut
#undef CreateFontIndirect
