#include "tools/module_loading.h"

#include <system_error>

namespace vitalchart {
namespace cli {

std::future<void> LoadBeside(void (*pfnLoad)()) {
    try {
        return std::async(std::launch::async, pfnLoad);
    } catch (const std::system_error&) {
        return {};
    }
}

}  // namespace cli
}  // namespace vitalchart
