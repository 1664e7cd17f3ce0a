#pragma once

#include <cstddef>
#include <string>

namespace vitalchart {
namespace cli {

// What `vitalchart serve` was asked to do; unset numbers take the defaults
// the verb settles (see serve_command.h).
struct ServeSettings {
    std::string strListen = "127.0.0.1:8787";
    std::string strTemplates;
    std::string strProfiles;
    int nWorkers = 0;                 // 0: one per core
    int nQueue = -1;                  // -1: four per worker
    std::size_t nMaxBody = 4u << 20;  // bytes
    long long nTimeLimitMs = 10000;   // render time limit
};

}  // namespace cli
}  // namespace vitalchart
