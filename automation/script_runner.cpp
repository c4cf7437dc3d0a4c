#include "automation/script_runner.h"

#include "app/lumo_app.h"
#include "app/lumo_doc.h"
#include "automation/dialog_driver.h"
#include "automation/dump.h"
#include "automation/input.h"
#include "automation/screenshot.h"
#include "shell/command_bar.h"
#include "shell/device_screen.h"
#include "shell/dialog_answer.h"
#include "shell/main_frame.h"

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QTextStream>
#include <QTimer>
#include <algorithm>
#include <cstdio>

CScriptRunner::CScriptRunner(CLumoApp* app, QStringList lines)
    : m_app(app)
    , m_lines(std::move(lines))
{
}

bool CScriptRunner::ReadScript(const QString& path, QStringList* lines, QString* error)
{
    QFile file;
    if (path == QLatin1String("-")) {
        if (!file.open(stdin, QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot read the script from standard input");
            return false;
        }
    } else {
        file.setFileName(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot read the script %1").arg(path);
            return false;
        }
    }
    const QString text = QString::fromUtf8(file.readAll());
    *lines = text.split(QLatin1Char('\n'));
    return true;
}

QStringList CScriptRunner::SplitWords(const QString& line)
{
    QStringList words;
    QString word;
    bool quoted = false;
    bool inWord = false;
    for (QChar c : line) {
        if (quoted) {
            if (c == QLatin1Char('"'))
                quoted = false;
            else
                word += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            inWord = true;
        } else if (c == QLatin1Char('#') && !inWord) {
            break;
        } else if (c.isSpace()) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

void CScriptRunner::Start()
{
    m_stepTimer.setSingleShot(true);
    connect(&m_stepTimer, &QTimer::timeout, this, &CScriptRunner::Next);
    m_clock.start();
    Schedule(0);
}

void CScriptRunner::Schedule(int ms)
{
    m_dueAt = m_clock.elapsed() + ms;
    m_stepTimer.start(ms);
}

void CScriptRunner::Fail(const QString& reason)
{
    // Also called from inside a command (a dialog that cannot follow its
    // answer): the script stops there.
    m_failed = true;
    m_stepTimer.stop();
    std::fprintf(stderr, "lumo: script line %d: %s\n", m_line, reason.toLocal8Bit().constData());
    std::fflush(stderr);
    QApplication::exit(2);
    // A modal dialog or menu runs its own loop: close them so exit takes effect.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w != CDeviceScreen::Instance())
            w->close();
}

bool CScriptRunner::IsIdle() const
{
    // Read before the events are handled: a build that ended before them has
    // queued all its hints by then; they are delivered below, a slice at a
    // time, and the run is idle once none is left.
    CLumoDoc* doc = m_app->Document();
    const bool loaderDone = !doc || !doc->m_loader.IsRunning();
    QCoreApplication::sendPostedEvents();
    return loaderDone && !(doc && doc->HasQueuedUpdates());
}

void CScriptRunner::Next()
{
    if (m_failed)
        return;
    if (m_dueAt >= 0)
        m_longestLateMs = std::max(m_longestLateMs, m_clock.elapsed() - m_dueAt);
    if (m_waitIdle) {
        if (!IsIdle())
            m_idleSince.start();
        if (m_idleSince.elapsed() < 20) {
            Schedule(5);
            return;
        }
        m_waitIdle = false;
    }
    while (m_line < m_lines.size() && SplitWords(m_lines[m_line]).isEmpty())
        ++m_line;
    if (m_line >= m_lines.size()) {
        QApplication::exit(0);
        return;
    }
    const QStringList words = SplitWords(m_lines[m_line++]);
    const int line = m_line;
    m_resumeAfterMs = -1;
    // The next command is due even when this one opens a modal dialog or
    // menu: its own event loop then runs the rest of the script.
    Schedule(0);
    QString reason;
    if (!Run(words, &reason)) {
        m_stepTimer.stop();
        Fail(reason);
        return;
    }
    if (m_line != line || m_failed)
        return;  // later commands already ran inside a modal loop, or the script failed
    if (m_app->Frame())
        m_app->Frame()->UpdateControls();
    // Due from now: the command's own time is not the event loop's delay.
    if (m_waitIdle) {
        m_idleSince.start();
        Schedule(0);
    } else {
        Schedule(std::max(m_resumeAfterMs, 0));
    }
}

namespace {

bool ToInt(const QString& s, int* v)
{
    bool ok = false;
    *v = s.toInt(&ok);
    return ok;
}

bool Points(const QStringList& w, int from, int count, std::vector<int>* out, QString* reason)
{
    if (w.size() < from + count) {
        *reason = QStringLiteral("%1 needs %2 numbers").arg(w[0]).arg(count);
        return false;
    }
    for (int i = 0; i < count; ++i) {
        int v;
        if (!ToInt(w[from + i], &v)) {
            *reason = QStringLiteral("\"%1\" is not a number").arg(w[from + i]);
            return false;
        }
        out->push_back(v);
    }
    return true;
}

}  // namespace

bool CScriptRunner::Pen(const QString& what, QPoint p, QString* reason)
{
    if (what == QLatin1String("down") || what == QLatin1String("tap") || what == QLatin1String("dtap")) {
        m_grab = Input::WidgetAt(p);
        if (!m_grab) {
            *reason = QStringLiteral("no window at %1 %2").arg(p.x()).arg(p.y());
            return false;
        }
        if (what == QLatin1String("dtap")) {
            Input::DoubleTap(m_grab, p);
            return true;
        }
        Input::PenDown(m_grab, p);
        if (what == QLatin1String("tap") && m_grab)
            Input::PenUp(m_grab, p);
    } else if (what == QLatin1String("move")) {
        Input::PenMove(m_grab ? m_grab.data() : Input::WidgetAt(p), p);
    } else if (what == QLatin1String("up")) {
        Input::PenUp(m_grab ? m_grab.data() : Input::WidgetAt(p), p);
        m_grab = nullptr;
    }
    m_lastPen = p;
    return true;
}

bool CScriptRunner::Command(int id, QString* reason)
{
    const CCmdUI ui = m_app->QueryCommand(id);
    if (!ui.enabled) {
        *reason = QStringLiteral("command %1 is disabled").arg(id);
        return false;
    }
    if (!m_app->RouteCommand(id)) {
        *reason = QStringLiteral("no handler for command %1").arg(id);
        return false;
    }
    return true;
}

bool CScriptRunner::Menu(const QStringList& labels, QString* reason)
{
    // With a pop-up menu open, the label picks one of its items.
    QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    int first = 0;
    CMainFrame* frame = m_app->Frame();
    if (!menu) {
        if (!frame || labels.isEmpty()) {
            *reason = QStringLiteral("menu needs a label");
            return false;
        }
        for (QMenu* popup : frame->CommandBar()->Popups())
            if (popup->title() == labels[0])
                menu = popup;
        first = 1;
        if (!menu) {
            *reason = QStringLiteral("no menu \"%1\"").arg(labels[0]);
            return false;
        }
    }
    UpdateMenu(menu);
    for (int i = first; i < labels.size(); ++i) {
        const int pos = CMainFrame::FindMenuItem(menu, labels[i]);
        if (pos < 0) {
            *reason = QStringLiteral("no menu item \"%1\"").arg(labels[i]);
            return false;
        }
        QAction* action = menu->actions()[pos];
        if (!action->isEnabled()) {
            *reason = QStringLiteral("menu item \"%1\" is disabled").arg(labels[i]);
            return false;
        }
        if (action->menu()) {
            menu = action->menu();
            continue;
        }
        if (i != labels.size() - 1) {
            *reason = QStringLiteral("\"%1\" is not a sub-menu").arg(labels[i]);
            return false;
        }
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        action->trigger();
        return true;
    }
    *reason = QStringLiteral("\"%1\" is a sub-menu, not an item").arg(labels.last());
    return false;
}

bool CScriptRunner::Shot(const QString& path, QString* reason)
{
    const QImage image = GrabDeviceScreen(m_app->Screen());
    if (!image.save(path, "PNG")) {
        *reason = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

bool CScriptRunner::Dump(const QString& path, QString* reason)
{
    const qint64 now = m_clock.elapsed();
    QJsonObject state = DumpState(m_app);
    state["scriptLateMs"] = m_longestLateMs;
    state["scriptMs"] = now;
    const QByteArray json = QJsonDocument(state).toJson(QJsonDocument::Indented);
    if (path == QLatin1String("-")) {
        std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
        std::fflush(stdout);
        return true;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(json) != json.size()) {
        *reason = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

namespace {

// browse DEVICEPATH [0|1]: what the folder browser's OK does.
bool Browse(CLumoApp* app, const QStringList& w, QString* reason)
{
    const QString flag = w.value(2, QStringLiteral("0"));
    if (w.size() < 2 || w.size() > 3 || (flag != QLatin1String("0") && flag != QLatin1String("1"))) {
        *reason = QStringLiteral("browse needs a device path and 0 or 1");
        return false;
    }
    CLumoDoc* doc = app->Document();
    if (!doc) {
        *reason = QStringLiteral("browse needs a document");
        return false;
    }
    // As the folder browser's OK: the running build stops, the new one starts.
    doc->BrowseFolder(w[1], flag == QLatin1String("1") ? 1 : 0);
    return true;
}

}  // namespace

bool CScriptRunner::Run(const QStringList& w, QString* reason)
{
    const QString& cmd = w[0];
    std::vector<int> n;
    if (cmd == QLatin1String("tap") || cmd == QLatin1String("down") || cmd == QLatin1String("move")
        || cmd == QLatin1String("up") || cmd == QLatin1String("dtap")) {
        if (!Points(w, 1, 2, &n, reason))
            return false;
        return Pen(cmd, QPoint(n[0], n[1]), reason);
    }
    if (cmd == QLatin1String("drag")) {
        if (!Points(w, 1, 4, &n, reason))
            return false;
        int steps = 8;
        if (w.size() > 5 && (!ToInt(w[5], &steps) || steps < 1)) {
            *reason = QStringLiteral("drag steps must be a positive number");
            return false;
        }
        const QPoint a(n[0], n[1]);
        const QPoint b(n[2], n[3]);
        if (!Pen(QStringLiteral("down"), a, reason))
            return false;
        for (int i = 1; i <= steps; ++i)
            Pen(QStringLiteral("move"), a + (b - a) * i / steps, reason);
        return Pen(QStringLiteral("up"), b, reason);
    }
    if (cmd == QLatin1String("hold")) {
        if (!Points(w, 1, 3, &n, reason) || !Pen(QStringLiteral("down"), QPoint(n[0], n[1]), reason))
            return false;
        // The pen stays down while time passes; the release follows.
        const QPoint p(n[0], n[1]);
        QPointer<QWidget> target = m_grab;
        QTimer::singleShot(n[2], this, [target, p] {
            if (target)
                Input::PenUp(target, p);
        });
        m_grab = nullptr;
        m_resumeAfterMs = n[2] + 1;
        return true;
    }
    if (cmd == QLatin1String("key")) {
        if (w.size() < 2 || !Input::KeyPress(w[1])) {
            *reason = QStringLiteral("unknown key \"%1\"").arg(w.value(1));
            return false;
        }
        return true;
    }
    if (cmd == QLatin1String("command")) {
        int id;
        if (w.size() < 2 || !ToInt(w[1], &id)) {
            *reason = QStringLiteral("command needs a number");
            return false;
        }
        return Command(id, reason);
    }
    if (cmd == QLatin1String("menu"))
        return Menu(w.mid(1), reason);
    if (DialogDriver::IsCommand(cmd))
        return DialogDriver::Run(w, reason);
    if (cmd == QLatin1String("wait")) {
        int ms;
        if (w.size() < 2 || !ToInt(w[1], &ms) || ms < 0) {
            *reason = QStringLiteral("wait needs milliseconds");
            return false;
        }
        m_resumeAfterMs = ms;
        return true;
    }
    if (cmd == QLatin1String("idle")) {
        m_waitIdle = true;
        return true;
    }
    if (cmd == QLatin1String("browse"))
        return Browse(m_app, w, reason);
    if (cmd == QLatin1String("answer")) {
        if (w.size() < 2) {
            *reason = QStringLiteral("answer needs a device path or cancel");
            return false;
        }
        // The next save-file or File Open dialog follows it as it opens; one
        // that cannot ends the script here.
        DialogAnswer::Set(w[1], [this](const QString& why) { Fail(why); });
        return true;
    }
    if (cmd == QLatin1String("shot")) {
        if (w.size() < 2) {
            *reason = QStringLiteral("shot needs a file name");
            return false;
        }
        return Shot(w[1], reason);
    }
    if (cmd == QLatin1String("dump")) {
        if (w.size() < 2) {
            *reason = QStringLiteral("dump needs a file name or -");
            return false;
        }
        return Dump(w[1], reason);
    }
    if (cmd == QLatin1String("quit")) {
        m_line = int(m_lines.size());
        return true;
    }
    *reason = QStringLiteral("unknown command \"%1\"").arg(cmd);
    return false;
}
