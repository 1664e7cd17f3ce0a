#pragma once

#include <memory>

#include "vitalchart/surface/dc.h"

namespace vitalchart {

// A GDI surface on the device-context object that a Windows host lends: the
// object's output handle, attribute handle and printing flag, read at their
// fixed places. Null for a null object or one without an output handle.
std::unique_ptr<CDC> WrapHostDC(const void* pHostDC);

}  // namespace vitalchart
