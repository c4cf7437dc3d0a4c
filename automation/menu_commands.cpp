#include "automation/menu_commands.h"

#include "app/lumo_app.h"
#include "app/lumo_doc.h"
#include "shell/command_bar.h"
#include "shell/dialog_answer.h"
#include "shell/main_frame.h"

#include <QApplication>
#include <QMenu>

namespace MenuCommands {

bool Menu(ScriptContext& context, const ScriptArgs& args, QString* reason)
{
    const QStringList labels = args.Words();
    // Refused before anything else: with a pop-up open, no label would pick nothing.
    if (labels.isEmpty())
        return Refuse(reason, QStringLiteral("menu needs a label"));
    // With a pop-up menu open, the label picks one of its items.
    QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    int first = 0;
    CMainFrame* frame = context.app ? context.app->Frame() : nullptr;
    if (!menu) {
        if (!frame)
            return Refuse(reason, QStringLiteral("menu needs a label"));
        for (QMenu* popup : frame->CommandBar()->Popups())
            if (popup->title() == labels[0])
                menu = popup;
        first = 1;
        if (!menu)
            return Refuse(reason, QStringLiteral("no menu \"%1\"").arg(labels[0]));
    }
    UpdateMenu(menu);
    for (int i = first; i < labels.size(); ++i) {
        const int pos = CMainFrame::FindMenuItem(menu, labels[i]);
        if (pos < 0)
            return Refuse(reason, QStringLiteral("no menu item \"%1\"").arg(labels[i]));
        QAction* action = menu->actions()[pos];
        if (!action->isEnabled())
            return Refuse(reason, QStringLiteral("menu item \"%1\" is disabled").arg(labels[i]));
        if (action->menu()) {
            menu = action->menu();
            continue;
        }
        if (i != labels.size() - 1)
            return Refuse(reason, QStringLiteral("\"%1\" is not a sub-menu").arg(labels[i]));
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        action->trigger();
        return true;
    }
    return Refuse(reason, QStringLiteral("\"%1\" is a sub-menu, not an item").arg(labels.last()));
}

bool Command(ScriptContext& context, const ScriptArgs& args, QString* reason)
{
    const int id = args.Number(0);
    if (!context.app->QueryCommand(id).enabled)
        return Refuse(reason, QStringLiteral("command %1 is disabled").arg(id));
    if (!context.app->RouteCommand(id))
        return Refuse(reason, QStringLiteral("no handler for command %1").arg(id));
    return true;
}

bool Answer(ScriptContext& context, const ScriptArgs& args, QString*)
{
    // The next save-file or File Open dialog follows it as it opens; one that
    // cannot ends the script there.
    DialogAnswer::Set(args.Word(0), context.fail);
    return true;
}

bool Browse(ScriptContext& context, const ScriptArgs& args, QString* reason)
{
    CLumoDoc* doc = context.app->Document();
    if (!doc)
        return Refuse(reason, QStringLiteral("browse needs a document"));
    // As the folder browser's OK: the running build stops, the new one starts.
    doc->BrowseFolder(args.Word(0), args.Word(1) == QLatin1String("1") ? 1 : 0);
    return true;
}

}  // namespace MenuCommands
