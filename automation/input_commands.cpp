#include "automation/input_commands.h"

#include "automation/input.h"
#include "automation/script_schedule.h"

#include <QTimer>

namespace InputCommands {

namespace {

QPoint PointAt(const ScriptArgs& args, int i)
{
    return QPoint(args.Number(i), args.Number(i + 1));
}

// The window under p takes the pen; false with *reason set when there is none.
bool Grab(ScriptContext& context, QPoint p, QString* reason)
{
    context.grab = Input::WidgetAt(p);
    if (!context.grab)
        *reason = QStringLiteral("no window at %1 %2").arg(p.x()).arg(p.y());
    return context.grab;
}

bool PenDown(ScriptContext& context, QPoint p, QString* reason)
{
    if (!Grab(context, p, reason))
        return false;
    Input::PenDown(context.grab, p);
    return true;
}

QWidget* Holder(const ScriptContext& context, QPoint p)
{
    return context.grab ? context.grab.data() : Input::WidgetAt(p);
}

void PenUp(ScriptContext& context, QPoint p)
{
    Input::PenUp(Holder(context, p), p);
    context.grab = nullptr;
}

}  // namespace

bool Tap(ScriptContext& context, const ScriptArgs& args, QString* reason)
{
    const QPoint p = PointAt(args, 0);
    if (!PenDown(context, p, reason))
        return false;
    if (context.grab)
        Input::PenUp(context.grab, p);
    return true;
}

bool DoubleTap(ScriptContext& context, const ScriptArgs& args, QString* reason)
{
    const QPoint p = PointAt(args, 0);
    if (!Grab(context, p, reason))
        return false;
    Input::DoubleTap(context.grab, p);
    return true;
}

bool Down(ScriptContext& context, const ScriptArgs& args, QString* reason)
{
    return PenDown(context, PointAt(args, 0), reason);
}

bool Move(ScriptContext& context, const ScriptArgs& args, QString*)
{
    const QPoint p = PointAt(args, 0);
    Input::PenMove(Holder(context, p), p);
    return true;
}

bool Up(ScriptContext& context, const ScriptArgs& args, QString*)
{
    PenUp(context, PointAt(args, 0));
    return true;
}

bool Drag(ScriptContext& context, const ScriptArgs& args, QString* reason)
{
    const QPoint a = PointAt(args, 0);
    const QPoint b = PointAt(args, 2);
    const int steps = args.Count() > 4 ? args.Number(4) : 8;
    if (!PenDown(context, a, reason))
        return false;
    for (int i = 1; i <= steps; ++i) {
        const QPoint p = a + (b - a) * i / steps;
        Input::PenMove(Holder(context, p), p);
    }
    PenUp(context, b);
    return true;
}

bool Hold(ScriptContext& context, const ScriptArgs& args, QString* reason)
{
    const QPoint p = PointAt(args, 0);
    const int ms = args.Number(2);
    if (!PenDown(context, p, reason))
        return false;
    // The pen stays down while time passes; the release follows.
    QTimer::singleShot(ms, [target = context.grab, p] {
        if (target)
            Input::PenUp(target, p);
    });
    context.grab = nullptr;
    context.schedule->ResumeAfter(ms + 1);
    return true;
}

bool Key(ScriptContext&, const ScriptArgs& args, QString* reason)
{
    return Input::KeyPress(args.Word(0)) || Refuse(reason, QStringLiteral("unknown key \"%1\"").arg(args.Word(0)));
}

}  // namespace InputCommands
