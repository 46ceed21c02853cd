#include "vcl/Types.h"

#include <climits>

namespace vcl {

int MulDiv(int Number, int Numerator, int Denominator) {
    if (Denominator == 0) return -1;
    long long product = static_cast<long long>(Number) * Numerator;
    bool negative = (product < 0) != (Denominator < 0);
    long long a = product < 0 ? -product : product;
    long long d = Denominator < 0 ? -static_cast<long long>(Denominator) : Denominator;
    long long q = (a + d / 2) / d;
    // A result beyond the int range is an overflow, reported as -1 like a zero denominator.
    if (q > INT_MAX) return -1;
    return static_cast<int>(negative ? -q : q);
}

} // namespace vcl
