// How the canvas's memo overlay is to be drawn: whether it shows at all, the
// font, colour, alignment and rectangle. The view draws the text with what
// LayoutMemo decides; it makes no decisions of its own.
#pragma once

#include "res/program_font.h"

#include <QString>
#include <QStringList>
#include <QtCore/qnamespace.h>
#include <cstdint>

struct CMemoRecord;

// Text format flags, as the platform's text drawing takes them.
constexpr int kDtLeft = 0;
constexpr int kDtCenter = 1;
constexpr int kDtRight = 2;
constexpr int kDtVCenter = 4;
constexpr int kDtBottom = 8;

// The overlay's font and colours, with the values it starts from.
class CMemoFont {
public:
    virtual ~CMemoFont() = default;

    // Logical font height: positive is the cell height, negative the
    // character height, both in pixels; 0 asks for the default size.
    int m_height = 9;
    int m_width = 0;
    int m_escapement = 0;
    int m_orientation = 0;
    int m_weight = 400;
    bool m_italic = false;
    bool m_underline = false;
    bool m_strikeOut = false;
    int m_charSet = 1;
    QString m_face = kProgramFontFace;
    uint8_t m_backRed = 255, m_backGreen = 255, m_backBlue = 255;
    uint8_t m_textRed = 255, m_textGreen = 100, m_textBlue = 0;
    int m_transparent = 1;  // 1: no background box behind the text

    // A pixel size a font engine accepts (at least 1) for the logical height.
    int PixelSize() const;
};

struct CMemoLayout {
    bool visible = false;
    CMemoFont font;
    int flags = kDtCenter;  // kDt* flags: horizontal and vertical placement
    int left = 10;
    int top = 10;
    int right = 230;
    int bottom = 310;
    QString text;  // drawn whole, its lines wrapped between words inside the rectangle

    // The flags as a text alignment, vertical placement included, for a
    // multi-line text as well.
    Qt::Alignment Alignment() const;
    // Keeps the rectangle's margins on a screen of another size: 10 pixels in
    // from every edge (10, 10, 230, 310 on the device's 240 x 320 screen).
    void FitScreen(int screenWidth, int screenHeight);
};

// The nine alignment names, "Top Left" to "Bottom Right", row by row.
QStringList MemoAlignNames();
// Format flags for an alignment name ("Top Left" .. "Bottom Right", letter
// case ignored); any other text gives "Top Center".
int MemoAlignFlags(const QString& align);
// Font height for a memo size text: its leading decimal integer plus 2 (a
// text without digits counts as 0).
int MemoFontHeight(const QString& size);
// The overlay for a memo: its text, size, weight, slant and placement. shown
// says whether it is drawn at all (the caller decides when a memo shows).
CMemoLayout LayoutMemo(const CMemoRecord& memo, bool shown);
