// cpu_features.h: what the processor and the system let the vector kernels
// use, read once. Every build runs the SSE2 paths; wider ones only here.
#pragma once

// True when the CPU has AVX2 and the system saves the YMM registers.
bool CpuHasAvx2();
