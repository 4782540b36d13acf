// Lengths of the text layout: millimetres become printer dots with the
// horizontal resolution (vertical lengths too), rounded to the nearest
// integer with halves going to the even neighbour.
#pragma once

#include <cmath>

namespace tabulo::print {

inline int roundHalfEven(double value) {
    // The default floating-point rounding mode rounds halves to even.
    return static_cast<int>(std::nearbyint(value));
}

// PrinterDot: dots of `mm` millimetres at `dpi` dots per inch.
inline int printerDot(int dpi, double mm) {
    return roundHalfEven(dpi * mm / 25.4);
}

}  // namespace tabulo::print
