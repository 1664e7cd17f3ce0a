#include "vitalchart/surface/dc.h"

namespace vitalchart {

CDC::~CDC() = default;

}  // namespace vitalchart
