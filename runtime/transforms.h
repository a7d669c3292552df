#pragma once
// Transform built-ins on effect memory: complex FFT, permutations, complex multiply, MDCT.

#include "runtime/memory.h"

namespace vrn
{

/// Prepares the process-wide twiddle and permutation tables once; safe from several threads.
void PrepareTransformTables();

/// FFT built-in on the complex buffer at `start` (2 cells per value). Size: largest power of two
/// ≤ `size`, nothing outside 16 … 32768. Mode 0 forward, 1 inverse (unscaled), 4 permute to
/// natural order, 5 inverse permute; other modes do nothing.
void FftBuiltin(CXaltoMemory& memory, double start, double size, double mode);

/// destination[k] *= source[k] for the first `count` complex values (count rounded down to even).
void ComplexMultiplyBuiltin(CXaltoMemory& memory, double destination, double source, double count);

/// destination[k] = a[k] × b[k] for the first `count` complex values (count rounded down to even).
void ComplexMultiplyToBuiltin(CXaltoMemory& memory, double destination, double a, double b,
                              double count);

/// destination[k] += a[k] × b[k] for the first `count` complex values (count rounded down to even).
void ComplexMultiplyAddBuiltin(CXaltoMemory& memory, double destination, double a, double b,
                               double count);

/// MDCT built-in with a sine window at `start`. n = 2^(p+1) with 2^p ≤ size/2, nothing outside
/// 32 … 4096. Mode 0 forward (n cells → n/2 coefficients), any other mode inverse.
void MdctBuiltin(CXaltoMemory& memory, double start, double size, double mode);

} // namespace vrn
