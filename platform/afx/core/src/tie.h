// Exact ties of fixed-decimal texts, for the layer's two formatters.
#pragma once

// The value that a correctly rounding formatter writes, at `decimals`
// decimals, as the Windows runtime writes `value`: the value itself, or for
// an exact tie the next double away from zero.
double AfxTieAwayFromZero(double value, int decimals);
