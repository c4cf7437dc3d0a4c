// The program icon's design: every shape lies on the icon's grid, and the
// SVG form is a well-formed document with one element per shape.
#include "res/program_icon.h"

#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace Resources;

TEST(ProgramIcon, ShapesStayOnTheGridAndTheSvgHasOneElementPerShape)
{
    for (const CIconShape& s : ProgramIconShapes()) {
        const std::vector<double>& v = s.values;
        std::vector<double> points = v;  // x, y pairs; the grid is square
        if (s.kind == CIconShape::RoundRect)
            points = {v[0], v[1], v[0] + v[2], v[1] + v[3]};
        else if (s.kind == CIconShape::Ellipse)
            points = {v[0] - v[2], v[1] - v[3], v[0] + v[2], v[1] + v[3]};
        EXPECT_EQ(points.size() % 2, 0u);
        for (double c : points)
            EXPECT_TRUE(c >= 0 && c <= kIconGrid) << c;
    }
    QXmlStreamReader xml(ProgramIconSvg(48));
    int shapes = 0;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("svg")) {
            EXPECT_EQ(xml.attributes().value(QLatin1String("width")), QLatin1String("48"));
            EXPECT_EQ(xml.attributes().value(QLatin1String("viewBox")), QLatin1String("0 0 64 64"));
            continue;  // into its children
        }
        EXPECT_TRUE(xml.attributes().value(QLatin1String("fill")).startsWith(QLatin1Char('#')));
        ++shapes;
        xml.skipCurrentElement();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(shapes, int(ProgramIconShapes().size()));
}
