// The memo record (a picture's note with its font, size, style, placement
// and colour) and its one-line text form kept in album files:
// font=F;size=S;bold=B;italic=I;align=A;color=C;content=T
#pragma once

#include "res/program_font.h"

#include <QString>
#include <QStringView>

// The memo fields of one picture, with the values a new picture starts with.
struct CMemoRecord {
    QString font = kProgramFontFace;
    QString size = QStringLiteral("9");
    int bold = 1;
    int italic = 0;
    QString align = QStringLiteral("Top Center");
    QString color = QStringLiteral("#FFFFFF");
    QString content;

    bool operator==(const CMemoRecord&) const = default;
};

// The record in one line, keys in fixed order, values as they are.
QString FormatMemoText(const CMemoRecord& memo);

// Reads a memo text into *memo. Each value runs from its key to the next key
// found after it (content to the end), so values may hold ";" and "=". Keys
// are looked for in their fixed order, each after the one before; a key that
// is not found there leaves its field at the new-picture default and the
// value before it runs on to the next key that is found. bold and italic take
// the leading decimal digits (0 when the value does not start with one).
// Returns 1 when all seven keys were found in order, else 0.
int ParseMemoText(QStringView text, CMemoRecord* memo);
