#include "res/program_icon.h"

#include <QStringList>

namespace Resources {

const std::vector<CIconShape>& ProgramIconShapes()
{
    // A blue tile with a glow in its corner, holding a white-framed
    // photograph: sky, sun, two hills.
    static const std::vector<CIconShape> shapes = {
        {CIconShape::RoundRect, 0x1D4E9E, {2, 2, 60, 60, 12}},
        {CIconShape::Ellipse, 0x2A63BE, {50, 13, 9, 9}},
        {CIconShape::RoundRect, 0xFFFFFF, {10, 11, 44, 44, 3}},
        {CIconShape::RoundRect, 0x9CD6FF, {14, 15, 36, 30, 1}},
        {CIconShape::Ellipse, 0xFFC928, {40, 24, 5, 5}},
        {CIconShape::Polygon, 0x3FA55B, {14, 45, 14, 36, 23, 28, 32, 37, 37, 33, 50, 42, 50, 45}},
        {CIconShape::Polygon, 0x23793D, {14, 45, 14, 41, 25, 36, 35, 41, 43, 38, 50, 41, 50, 45}},
    };
    return shapes;
}

QString ProgramIconSvg(int size)
{
    QStringList svg;
    svg << QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" viewBox=\"0 0 %2 %2\">")
               .arg(size)
               .arg(kIconGrid);
    for (const CIconShape& s : ProgramIconShapes()) {
        const QString fill = QStringLiteral("#%1").arg(s.fill, 6, 16, QLatin1Char('0')).toUpper();
        const std::vector<double>& v = s.values;
        switch (s.kind) {
        case CIconShape::RoundRect:
            svg << QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\"/>")
                       .arg(v[0])
                       .arg(v[1])
                       .arg(v[2])
                       .arg(v[3])
                       .arg(v[4])
                       .arg(fill);
            break;
        case CIconShape::Ellipse:
            svg << QStringLiteral("<ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" fill=\"%5\"/>")
                       .arg(v[0])
                       .arg(v[1])
                       .arg(v[2])
                       .arg(v[3])
                       .arg(fill);
            break;
        case CIconShape::Polygon: {
            QStringList points;
            for (size_t i = 0; i + 1 < v.size(); i += 2)
                points << QStringLiteral("%1,%2").arg(v[i]).arg(v[i + 1]);
            svg << QStringLiteral("<polygon points=\"%1\" fill=\"%2\"/>").arg(points.join(QLatin1Char(' ')), fill);
            break;
        }
        }
    }
    svg << QStringLiteral("</svg>");
    return svg.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

}  // namespace Resources
