// Host names are bytes; device paths are text. Most names are UTF-8, but a
// card written elsewhere may hold names in another encoding (Latin-1
// "caf\xe9.png"). Every conversion between a host path and text goes through
// this one rule, so such a file is listed, shown, opened and saved in an
// album under a name that leads back to the same bytes:
//
// - well-formed UTF-8 sequences become their characters;
// - every other byte b becomes the lone surrogate U+DC00 + b (U+DC80..U+DCFF);
// - text goes back the other way: such a lone surrogate becomes its byte,
//   everything else its UTF-8 form.
//
// Decode followed by Encode gives back any bytes unchanged. Pure functions,
// safe from any thread.
#pragma once

#include <QByteArray>
#include <QString>

namespace HostBytes {

QString Decode(const QByteArray& bytes);
QByteArray Encode(const QString& text);

}  // namespace HostBytes
