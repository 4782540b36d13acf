// Font measures for the layout tests: single-byte characters 10 dots wide,
// double-byte ones 20, and 0x01 of no width at all; lines 50 high. And the
// date and time the templates read.
#pragma once

#include "print/engine/header_template.h"
#include "print/engine/text_metrics.h"

namespace tabulo::print::layout_test {

class FixedMetrics : public TextMetrics {
public:
    int lineHeight() const override { return 50; }
    int ascent() const override { return 40; }
    int averageCharWidth() const override { return 10; }
    int charAdvance(unsigned code) const override {
        if (code == 0x01)
            return 0;
        return (code > 0xFF ? 20 : 10) * kAdvanceUnitsPerDot;
    }
};

inline const DateTime kWhen{2026, 1, 5, 9, 5, 7};

}  // namespace tabulo::print::layout_test
