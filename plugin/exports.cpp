#include "vitalchart/plugin.h"
extern "C" {
VITALCHART_API void WINAPI DrawPlugin(VitalChartDC*, int, int, int, int, int, int, int, int, const char*, const char*, int, const char*, VitalChartBool) {}
}
