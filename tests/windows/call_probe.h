#pragma once

#include <cstdint>

// Calls a function the way a 32-bit Windows host does, with its arguments
// pushed right to left, and measures the stack the callee removes.
struct ProbeResult {
    std::uint32_t nPopped;  // bytes the callee removed from the stack
    std::uint32_t nEax;     // integer result
    float fResult;          // float result (only when asked for)
};

// Calls pFunction with nArgs 32-bit arguments. With bFloatResult the x87
// register a float result comes back in is read and popped, as the caller of
// such a function must.
ProbeResult ProbeCall(const void* pFunction, const std::uint32_t* pArgs, std::uint32_t nArgs, bool bFloatResult);
