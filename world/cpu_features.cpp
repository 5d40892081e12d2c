// cpu_features.cpp: CPUID and XGETBV read once for the kernels' choice.
#include "world/cpu_features.h"

#include <cpuid.h>

#include <cstdint>

namespace {

// The OS must save the YMM registers on a task switch (XCR0 bits 1 and 2)
// as well as the CPU having AVX2; XGETBV is only there when OSXSAVE is set.
bool DetectAvx2() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
    if ((c & bit_OSXSAVE) == 0 || (c & bit_AVX) == 0) return false;
    uint32_t xcr0Low = 0;
    uint32_t xcr0High = 0;
    __asm__ volatile("xgetbv" : "=a"(xcr0Low), "=d"(xcr0High) : "c"(0));
    if ((xcr0Low & 6u) != 6u) return false;
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
    return (b & bit_AVX2) != 0;
}

}  // namespace

bool CpuHasAvx2() {
    static const bool hasAvx2 = DetectAvx2();
    return hasAvx2;
}
