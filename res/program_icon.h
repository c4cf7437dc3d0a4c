// The program's icon (icon resource 128) as data: filled shapes on a 64 x 64
// grid, the first one at the bottom. The user interface paints them at any
// size (views/program_art.h); the same list gives the icon as SVG text, for a
// desktop that wants a scalable icon.
#pragma once

#include <QString>
#include <vector>

namespace Resources {

struct CIconShape {
    enum Kind { RoundRect, Ellipse, Polygon };
    Kind kind;
    unsigned fill;  // 0xRRGGBB
    // RoundRect: x, y, width, height, corner radius; Ellipse: centre x,
    // centre y, radius x, radius y; Polygon: x, y of each corner in turn.
    std::vector<double> values;
};

constexpr int kIconGrid = 64;

const std::vector<CIconShape>& ProgramIconShapes();
// The icon as an SVG document, size x size pixels.
QString ProgramIconSvg(int size = kIconGrid);

}  // namespace Resources
