#include "automation/script_runner.h"

#include "app/lumo_app.h"
#include "app/lumo_doc.h"
#include "automation/command_table.h"
#include "automation/script_text.h"
#include "shell/main_frame.h"
#include "views/device_screen.h"

#include <QApplication>
#include <cstdio>

CScriptRunner::CScriptRunner(CLumoApp* app, QStringList lines)
    : m_lines(std::move(lines))
    , m_schedule([this] { return IsIdle(); })
{
    m_context.app = app;
    m_context.schedule = &m_schedule;
    m_context.fail = [this](const QString& reason) { Fail(reason); };
}

void CScriptRunner::Start()
{
    m_schedule.Start([this] { Next(); });
}

void CScriptRunner::Fail(const QString& reason)
{
    // Also called from inside a command (a dialog that cannot follow its
    // answer): the script stops there.
    m_failed = true;
    m_schedule.Stop();
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
    // time, and the run is idle once none is left and no picture decodes.
    CLumoDoc* doc = m_context.app->Document();
    const bool loaderDone = !doc || !doc->m_loader.IsRunning();
    QCoreApplication::sendPostedEvents();
    return loaderDone && !(doc && (doc->HasQueuedUpdates() || doc->PictureJobs().IsBusy()));
}

void CScriptRunner::Next()
{
    if (m_failed || !m_schedule.Ready())
        return;
    while (m_line < m_lines.size() && ScriptText::SplitWords(m_lines[m_line]).isEmpty())
        ++m_line;
    if (m_line >= m_lines.size()) {
        QApplication::exit(0);
        return;
    }
    const QStringList words = ScriptText::SplitWords(m_lines[m_line++]);
    const int line = m_line;
    m_schedule.BeforeCommand();
    QString reason;
    if (!CommandTable::Run(m_context, words, &reason)) {
        m_schedule.Stop();
        Fail(reason);
        return;
    }
    if (std::exchange(m_context.quit, false))
        m_line = int(m_lines.size());
    if (m_line != line || m_failed)
        return;  // later commands already ran inside a modal loop, or the script failed
    if (m_context.app->Frame())
        m_context.app->Frame()->UpdateControls();
    m_schedule.AfterCommand();
}
