// CRegistryData: the keys and values of the registry stand-in held in memory,
// and their REGEDIT4-style text form (UTF-8):
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\FARHAVEN\lumo\Setting]
//   "ThumbnailView Mode"=dword:00000001
//   "CurrPath"="\\My Documents"
//   "Command"=hex(2):41,00,00,00
//
// Key paths and value names compare without regard to case, as on the device;
// the first spelling seen is kept. Reading tolerates comments (";"), blank
// lines, a byte-order mark and hex lines continued with "\"; lines that cannot
// be understood are skipped and reported.
#pragma once

#include "platform/registry_value.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>

class CRegistryData {
public:
    // "\A\\B\" -> "A\B"; empty when nothing is left.
    static QString NormalizeKey(const QString& key);
    // Whether a key path or value name can be written to the text form (no
    // control characters, no unpaired surrogates).
    static bool IsStorableName(const QString& name);

    bool HasKey(const QString& key) const;
    const RegValue* Find(const QString& key, const QString& name) const;
    // Both create the key when needed; false for a name that cannot be stored.
    bool CreateKey(const QString& key);
    bool Set(const QString& key, const QString& name, const RegValue& value);
    bool Remove(const QString& key, const QString& name);

    QStringList Keys() const;
    QStringList ValueNames(const QString& key) const;
    bool IsEmpty() const { return m_keys.empty(); }

    QByteArray ToText() const;
    // Parses the text form. Returns false when any line had to be skipped (or
    // the header is missing); what could be read is in the result either way.
    static bool FromText(const QByteArray& text, CRegistryData* data, QStringList* problems = nullptr);
    // Whether the text is registry text at all: empty, or its first line that
    // is neither blank nor a comment is the REGEDIT4 (or version 5) header.
    static bool HasHeader(const QByteArray& text);

    bool operator==(const CRegistryData& other) const;

private:
    struct Entry {
        QString name;
        RegValue value;
        bool operator==(const Entry&) const = default;
    };
    struct Key {
        QString path;
        std::map<QString, Entry> values;  // by case-folded name
        bool operator==(const Key&) const = default;
    };
    std::map<QString, Key> m_keys;  // by case-folded path
};
