// The program icon's design: every shape lies on the icon's grid, and the
// SVG form is a well-formed document with one element per shape.
#include "res/program_icon.h"

#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace Resources;

TEST(ProgramIcon, ShapesStayOnTheGrid)
{
    for (const CIconShape& s : ProgramIconShapes()) {
        const std::vector<double>& v = s.values;
        double left = 0, top = 0, right = 0, bottom = 0;
        if (s.kind == CIconShape::RoundRect) {
            left = v[0], top = v[1], right = v[0] + v[2], bottom = v[1] + v[3];
        } else if (s.kind == CIconShape::Ellipse) {
            left = v[0] - v[2], top = v[1] - v[3], right = v[0] + v[2], bottom = v[1] + v[3];
        } else {
            ASSERT_EQ(v.size() % 2, 0u);
            left = top = kIconGrid;
            for (size_t i = 0; i + 1 < v.size(); i += 2) {
                left = std::min(left, v[i]), right = std::max(right, v[i]);
                top = std::min(top, v[i + 1]), bottom = std::max(bottom, v[i + 1]);
            }
        }
        EXPECT_GE(left, 0);
        EXPECT_GE(top, 0);
        EXPECT_LE(right, kIconGrid);
        EXPECT_LE(bottom, kIconGrid);
    }
}

TEST(ProgramIcon, SvgHasOneElementPerShape)
{
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
