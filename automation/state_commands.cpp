#include "automation/state_commands.h"

#include "app/lumo_app.h"
#include "automation/dump.h"
#include "automation/screenshot.h"
#include "automation/script_schedule.h"
#include "views/device_screen.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace StateCommands {

bool Shot(ScriptContext& context, const ScriptArgs& args, QString* reason)
{
    context.schedule->HarnessWork();
    const QImage image = GrabDeviceScreen(context.app->Screen());
    return image.save(args.Word(0), "PNG") || Refuse(reason, QStringLiteral("cannot write %1").arg(args.Word(0)));
}

bool Dump(ScriptContext& context, const ScriptArgs& args, QString* reason)
{
    context.schedule->HarnessWork();
    const qint64 now = context.schedule->ElapsedMs();
    QJsonObject state = DumpState(context.app);
    state["scriptLateMs"] = context.schedule->LongestLateMs();
    state["scriptMs"] = now;
    const QByteArray json = QJsonDocument(state).toJson(QJsonDocument::Indented);
    const QString path = args.Word(0);
    if (path == QLatin1String("-")) {
        std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
        std::fflush(stdout);
        return true;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(json) != json.size())
        return Refuse(reason, QStringLiteral("cannot write %1").arg(path));
    return true;
}

bool Idle(ScriptContext& context, const ScriptArgs&, QString*)
{
    context.schedule->WaitIdle();
    return true;
}

bool Wait(ScriptContext& context, const ScriptArgs& args, QString*)
{
    context.schedule->ResumeAfter(args.Number(0));
    return true;
}

bool Quit(ScriptContext& context, const ScriptArgs&, QString*)
{
    context.quit = true;
    return true;
}

}  // namespace StateCommands
