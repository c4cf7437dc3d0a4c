// RegValue: one typed registry value as the device registry holds it, a type
// code and the raw data bytes (numbers little-endian, texts UTF-16LE with a
// terminating null character).
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

enum RegType : uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
};

struct RegValue {
    uint32_t type = kRegNone;
    QByteArray data;

    static RegValue Dword(uint32_t value);
    static RegValue String(const QString& text);
    static RegValue ExpandString(const QString& text);
    static RegValue Raw(uint32_t type, const QByteArray& data);

    bool IsDword() const { return type == kRegDword && data.size() == 4; }
    bool IsText() const { return type == kRegSz || type == kRegExpandSz; }
    // The number of a well-formed dword; 0 otherwise.
    uint32_t ToDword() const;
    // The data read as UTF-16LE text up to the first null character, whatever
    // the type (as a caller reading into a text buffer sees it).
    QString ToText() const;

    bool operator==(const RegValue&) const = default;
};
