#pragma once
// In-place split-radix FFT on interleaved complex doubles, with the transform-order layout.

namespace vrn
{

/// Forward FFT of `size` complex values (re, im interleaved, 2·size doubles) in place: natural
/// order in, transform order out (position i holds X[(size − f(i, size)) mod size],
/// X[k] = Σ x[n]·e^(−2πi·nk/size)). `size` power of two 1 … 32768.
void FftForward(double* data, int size);

/// Inverse FFT, unscaled, in place: transform order in, natural order out,
/// y[n] = Σ X[k]·e^(+2πi·nk/size). `size` power of two 1 … 32768.
void FftInverse(double* data, int size);

/// Transform order → natural order in place: out[k] = in[t[k]] with t = the size's permutation.
/// `size` power of two 16 … 32768.
void FftPermute(double* data, int size);

/// Natural order → transform order in place: out[t[k]] = in[k]. `size` power of two
/// 16 … 32768.
void FftInversePermute(double* data, int size);

} // namespace vrn
