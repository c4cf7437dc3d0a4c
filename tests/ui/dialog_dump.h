// Reading the open dialogs of a dump: the top-most one and its controls.
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

namespace DialogDump {

inline QJsonObject Top(const QJsonObject& dump)
{
    const QJsonArray dialogs = dump["dialogs"].toArray();
    return dialogs.isEmpty() ? QJsonObject() : dialogs.last().toObject();
}

// The first control with that identifier.
inline QJsonObject Control(const QJsonObject& dialog, int id)
{
    for (const QJsonValue& c : dialog["controls"].toArray())
        if (c["id"].toInt() == id)
            return c.toObject();
    return {};
}

inline QString Text(const QJsonObject& dialog, int id)
{
    return Control(dialog, id)["text"].toString();
}

// The texts of the labels and group boxes that carry no identifier, in order.
inline QStringList Labels(const QJsonObject& dialog)
{
    QStringList texts;
    for (const QJsonValue& c : dialog["controls"].toArray())
        if (c["id"].toInt() == -1)
            texts << c["text"].toString();
    return texts;
}

inline QStringList Items(const QJsonObject& dialog, int id)
{
    QStringList items;
    for (const QJsonValue& v : Control(dialog, id)["items"].toArray())
        items << v.toString();
    return items;
}

}  // namespace DialogDump
