#include "app/font_spacing.h"

#include <algorithm>

namespace tabulo::app {

int characterSpacingFor(std::string_view fontName, int size) {
    constexpr std::string_view kProportional[] = {"Ｐ", "Monotype Corsiva", "MS Sans Serif", "MS Serif"};
    const bool proportional = std::any_of(std::begin(kProportional), std::end(kProportional),
                                          [&](std::string_view mark) {
                                              return fontName.find(mark) != std::string_view::npos;
                                          });
    if (!proportional) return 0;
    return std::clamp((size - 5) / 3, 0, 5);
}

}  // namespace tabulo::app
