// A script's text: one command a line, its words separated by blanks.
#pragma once

#include <QString>
#include <QStringList>

namespace ScriptText {

// Reads a script file ("-" = standard input); false with *error set when it cannot.
bool Read(const QString& path, QStringList* lines, QString* error);
// Splits a line into words: blanks separate, "double quotes" group, # starts a comment.
QStringList SplitWords(const QString& line);

}  // namespace ScriptText
