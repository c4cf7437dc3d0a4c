#include "automation/command_table.h"

#include "automation/dialog_driver.h"
#include "automation/input_commands.h"
#include "automation/menu_commands.h"
#include "automation/state_commands.h"

#include <climits>

namespace CommandTable {

namespace {

struct Row {
    const char* name;
    // One token per argument, checked in order:
    //   n        a number; NAME needs N numbers when fewer words than n's
    //            are given, "W" is not a number when one is not
    //   id       a control id; NAME needs a control id when missing or not a number
    //   int      a number          ms      a number, 0 or more
    //   word     any word          text    the words left, joined by blanks
    //   [count]  optional: a number, 1 or more
    //   [0|1]    optional: 0 or 1
    //   ...      any further words (the command's own, or ignored); without
    //            it, further words are refused
    const char* shape;
    // The error line when an argument not named above is missing or does not
    // fit; %1 stands for the word at fault (empty when missing).
    const char* usage;
    ScriptHandler handler;
};

// clang-format off
const Row kRows[] = {
    // name      shape                 usage                                      handler
    {"tap",     "n n ...",             nullptr,                                   InputCommands::Tap},
    {"dtap",    "n n ...",             nullptr,                                   InputCommands::DoubleTap},
    {"down",    "n n ...",             nullptr,                                   InputCommands::Down},
    {"move",    "n n ...",             nullptr,                                   InputCommands::Move},
    {"up",      "n n ...",             nullptr,                                   InputCommands::Up},
    {"drag",    "n n n n [count] ...", "drag steps must be a positive number",    InputCommands::Drag},
    {"hold",    "n n n ...",           nullptr,                                   InputCommands::Hold},
    {"key",     "word ...",            "unknown key \"%1\"",                      InputCommands::Key},

    {"menu",    "...",                 nullptr,                                   MenuCommands::Menu},
    {"command", "int ...",             "command needs a number",                  MenuCommands::Command},
    {"answer",  "word ...",            "answer needs a device path or cancel",    MenuCommands::Answer},
    {"browse",  "word [0|1]",          "browse needs a device path and 0 or 1",   MenuCommands::Browse},
    {"click",   "id ...",              nullptr,                                   DialogDriver::Click},
    {"check",   "id text",             "check needs a control id and a value",    DialogDriver::Check},
    {"select",  "id text",             "select needs a control id and a value",   DialogDriver::Select},
    {"settext", "id text",             "settext needs a control id and a value",  DialogDriver::SetText},
    {"slide",   "id text",             "slide needs a control id and a value",    DialogDriver::Slide},

    {"shot",    "word ...",            "shot needs a file name",                  StateCommands::Shot},
    {"dump",    "word ...",            "dump needs a file name or -",             StateCommands::Dump},
    {"idle",    "...",                 nullptr,                                   StateCommands::Idle},
    {"wait",    "ms ...",              "wait needs milliseconds",                 StateCommands::Wait},
    {"quit",    "...",                 nullptr,                                   StateCommands::Quit},
};
// clang-format on

bool IsNumber(const QString& word, int least = INT_MIN)
{
    bool ok = false;
    const int value = word.toInt(&ok);
    return ok && value >= least;
}

// Whether the words after the name fit the row's shape; false with *reason set.
bool Fits(const Row& row, const QStringList& words, QString* reason)
{
    const QString& name = words[0];
    const QStringList shape = QString::fromLatin1(row.shape).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const auto usage = [&](const QString& word) {
        return Refuse(reason, QString::fromUtf8(row.usage).replace(QLatin1String("%1"), word));
    };
    const auto numbers = shape.count(QStringLiteral("n"));
    if (words.size() - 1 < numbers)
        return Refuse(reason, QStringLiteral("%1 needs %2 numbers").arg(name).arg(numbers));
    qsizetype i = 1;
    for (const QString& kind : shape) {
        if (kind == QLatin1String("..."))
            return true;
        const bool given = i < words.size();
        const QString word = words.value(i++);
        if (kind == QLatin1String("id")) {
            if (!IsNumber(word))
                return Refuse(reason, QStringLiteral("%1 needs a control id").arg(name));
        } else if (kind == QLatin1String("n")) {
            if (!IsNumber(word))
                return Refuse(reason, QStringLiteral("\"%1\" is not a number").arg(word));
        } else if (kind.startsWith(QLatin1Char('['))) {
            const bool fits = kind == QLatin1String("[0|1]") ? word == QLatin1String("0") || word == QLatin1String("1")
                                                             : IsNumber(word, 1);
            if (given && !fits)
                return usage(word);
        } else if (!given || (kind == QLatin1String("int") && !IsNumber(word))
                   || (kind == QLatin1String("ms") && !IsNumber(word, 0))) {
            return usage(word);
        } else if (kind == QLatin1String("text")) {
            i = words.size();
        }
    }
    return i >= words.size() || usage(words[i]);
}

}  // namespace

bool Run(ScriptContext& context, const QStringList& words, QString* reason)
{
    for (const Row& row : kRows)
        if (words.value(0) == QLatin1String(row.name))
            return Fits(row, words, reason) && row.handler(context, ScriptArgs(words), reason);
    return Refuse(reason, QStringLiteral("unknown command \"%1\"").arg(words.value(0)));
}

}  // namespace CommandTable
