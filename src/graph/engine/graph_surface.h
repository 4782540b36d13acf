// What the graph drawing needs of a surface: the screen's off-screen image,
// a printer page and a bitmap each implement it. Coordinates are device
// units of the surface; texts are Shift-JIS bytes.
#pragma once

#include <string>

namespace tabulo::graph {

enum class PenStyle { Solid, Dotted };

struct TextExtent {
    int width = 0;
    int height = 0;
};

class GraphSurface {
public:
    virtual ~GraphSurface() = default;

    // Device units per page unit (0.1 mm), horizontally and vertically.
    virtual double scaleX() const = 0;
    virtual double scaleY() const = 0;
    // The window's screen image, which uses larger grid and label fonts.
    virtual bool isScreen() const = 0;

    // Fills the rectangle from (left, top) to (right, bottom), the right and
    // bottom edges excluded.
    virtual void fillWhite(int left, int top, int right, int bottom) = 0;
    // A black pen `width` device units wide.
    virtual void setPen(int width, PenStyle style) = 0;
    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;

    // The font size in points for the following texts.
    virtual void setFontSize(int points) = 0;
    virtual TextExtent textExtent(const std::string& text) = 0;
    // Writes black text with its top-left corner at (x, y).
    virtual void textOut(int x, int y, const std::string& text) = 0;

    // Stretches the graph window's picture into the rectangle.
    virtual void stretchPicture(int left, int top, int right, int bottom) = 0;
};

}  // namespace tabulo::graph
