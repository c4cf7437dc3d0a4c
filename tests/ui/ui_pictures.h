// Pictures and albums written byte by byte for the UI tests, and reading a
// dump the script wrote to a file.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <cstring>

namespace UiPictures {

// A 24-bit BMP of w x h pixels in one colour; with a marker colour, the top
// left quarter is painted in it so that moves and turns show.
inline void WriteBmp(const QString& path, int w, int h, QColor color, QColor marker = QColor())
{
    const int stride = (w * 3 + 3) & ~3;
    QByteArray b(54 + stride * h, '\0');
    auto put32 = [&](int at, quint32 v) { memcpy(b.data() + at, &v, 4); };
    auto put16 = [&](int at, quint16 v) { memcpy(b.data() + at, &v, 2); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, quint32(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(w));
    put32(22, quint32(h));
    put16(26, 1);
    put16(28, 24);
    for (int row = 0; row < h; ++row) {
        const int y = h - 1 - row;  // rows are stored bottom-up
        for (int x = 0; x < w; ++x) {
            const QColor c = marker.isValid() && x < w / 2 && y < h / 2 ? marker : color;
            char* p = b.data() + 54 + row * stride + x * 3;
            p[0] = char(c.blue());
            p[1] = char(c.green());
            p[2] = char(c.red());
        }
    }
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(b);
}

// An album of (device path, memo text) records in UTF-16LE.
inline void WriteAlbum(const QString& path, const QList<QPair<QString, QString>>& records)
{
    QString text;
    text += QChar(0x0008);
    for (const auto& [picture, memo] : records)
        text += picture + QChar(0x001B) + memo + QChar(0x0008);
    QByteArray bytes(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

inline QString MemoText(const QString& align, const QString& content)
{
    return QStringLiteral("font=Tahoma;size=9;bold=1;italic=0;align=%1;color=#FFFFFF;content=%2").arg(align, content);
}

inline QJsonObject ReadDump(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

// The rectangle of the first visible window of class cls in a dump; empty
// when none is shown.
inline QList<int> WindowRect(const QJsonObject& dump, const QString& cls)
{
    for (const auto& w : dump["windows"].toArray())
        if (w.toObject()["class"].toString() == cls) {
            QList<int> r;
            for (const auto& v : w.toObject()["rect"].toArray())
                r << v.toInt();
            return r;
        }
    return {};
}

// Pixels of a colour close to c inside rect of the image.
inline int CountNear(const QImage& image, const QRect& rect, QColor c, int tolerance = 40)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - c.red()) + std::abs(p.green() - c.green()) + std::abs(p.blue() - c.blue())
                <= tolerance)
                ++n;
        }
    return n;
}

}  // namespace UiPictures
