// What a script command works with: the run it belongs to and the words of
// its line. Each command is a row of the table in command_table.cpp and a
// function of this shape in its group's file.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

class CLumoApp;
class CScriptSchedule;

struct ScriptContext {
    CLumoApp* app = nullptr;
    CScriptSchedule* schedule = nullptr;
    // Ends the script from a later event (a dialog that cannot follow its answer).
    std::function<void(const QString& reason)> fail;
    QPointer<QWidget> grab;  // the widget that received the last pen-down
    bool quit = false;       // the script ends after this command
};

// The words of a command line, checked against the command's argument shape:
// argument i is the i-th word after the command's name.
class ScriptArgs {
public:
    explicit ScriptArgs(QStringList words)
        : m_words(std::move(words))
    {
    }
    const QString& Name() const { return m_words[0]; }
    int Count() const { return int(m_words.size()) - 1; }
    QString Word(int i) const { return m_words.value(i + 1); }
    int Number(int i) const { return Word(i).toInt(); }
    // The arguments from i on, joined by blanks.
    QString Text(int i) const { return m_words.mid(i + 1).join(QLatin1Char(' ')); }
    QStringList Words() const { return m_words.mid(1); }

private:
    QStringList m_words;
};

// Runs a command whose words fit its shape; false with *reason set on failure.
using ScriptHandler = bool (*)(ScriptContext& context, const ScriptArgs& args, QString* reason);

// A command's failure in one expression: sets *reason, returns false.
inline bool Refuse(QString* reason, const QString& text)
{
    *reason = text;
    return false;
}
