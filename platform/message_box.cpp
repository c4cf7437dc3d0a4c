#include "platform/message_box.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <cstdio>
#include <mutex>

namespace {

struct State {
    std::mutex mutex;
    QStringList messages;
    MessageBoxService::Presenter presenter;
    bool echo = true;
};

State& TheState()
{
    static State state;
    return state;
}

void Present(const QString& text)
{
    MessageBoxService::Presenter presenter;
    {
        std::lock_guard lock(TheState().mutex);
        presenter = TheState().presenter;
    }
    if (presenter)
        presenter(text);
}

}  // namespace

void ShowMessage(const QString& text)
{
    State& s = TheState();
    bool echo;
    {
        std::lock_guard lock(s.mutex);
        s.messages.append(text);
        echo = s.echo;
    }
    if (echo)
        std::fprintf(stderr, "lumo: message: %s\n", text.toLocal8Bit().constData());
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() != app->thread()) {
        // A worker never waits for the user: the box is shown later on the UI thread.
        QMetaObject::invokeMethod(app, [text] { Present(text); }, Qt::QueuedConnection);
        return;
    }
    Present(text);
}

namespace MessageBoxService {

void SetPresenter(Presenter presenter)
{
    std::lock_guard lock(TheState().mutex);
    TheState().presenter = std::move(presenter);
}

QStringList Messages()
{
    std::lock_guard lock(TheState().mutex);
    return TheState().messages;
}

void ClearMessages()
{
    std::lock_guard lock(TheState().mutex);
    TheState().messages.clear();
}

void SetEcho(bool echo)
{
    std::lock_guard lock(TheState().mutex);
    TheState().echo = echo;
}

}  // namespace MessageBoxService
