#include "call_probe.h"

// The probe: pushes the arguments, notes the stack pointer the callee sees,
// calls, and returns how far the stack pointer moved back up. The frame
// pointer puts the stack back whatever the callee did.
//   uint32_t VcProbeStdcall(fn, args, nArgs, uint32_t* pEax, float* pFloat)
extern "C" std::uint32_t VcProbeStdcall(const void* pFunction, const std::uint32_t* pArgs, std::uint32_t nArgs,
                                        std::uint32_t* pEax, float* pFloat);

asm(R"(
    .text
    .globl _VcProbeStdcall
    .def _VcProbeStdcall; .scl 2; .type 32; .endef
_VcProbeStdcall:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
1:  testl %ecx, %ecx
    jz 2f
    pushl -4(%esi,%ecx,4)
    decl %ecx
    jmp 1b
2:  movl %esp, %edi
    movl 8(%ebp), %eax
    call *%eax
    movl %esp, %ebx
    subl %edi, %ebx
    movl 20(%ebp), %ecx
    movl %eax, (%ecx)
    movl 24(%ebp), %ecx
    testl %ecx, %ecx
    jz 3f
    fstps (%ecx)
3:  movl %ebx, %eax
    leal -12(%ebp), %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
)");

ProbeResult ProbeCall(const void* pFunction, const std::uint32_t* pArgs, std::uint32_t nArgs, bool bFloatResult) {
    ProbeResult result = {0, 0, 0.0f};
    result.nPopped = VcProbeStdcall(pFunction, pArgs, nArgs, &result.nEax, bFloatResult ? &result.fResult : nullptr);
    return result;
}
