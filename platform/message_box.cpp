#include "platform/message_box.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <cstdio>
#include <mutex>
#include <set>
#include <utility>

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

// What the open batch of a thread has gathered.
struct Batch {
    std::set<QString> texts;  // shown or counted
    std::set<QString> kinds;  // kinds whose first failure was shown
    int more = 0;
};
thread_local Batch* t_batch = nullptr;
thread_local CMessageCapture* t_capture = nullptr;

// Whether a text is to be shown now; counts it when its kind was shown before.
bool Admit(const QString& kind, const QString& text)
{
    if (!t_batch)
        return true;
    if (!t_batch->texts.insert(text).second)
        return false;
    if (kind.isEmpty() || t_batch->kinds.insert(kind).second)
        return true;
    ++t_batch->more;
    return false;
}

}  // namespace

struct CaptureAccess {
    // True when the text was held by this thread's capture.
    static bool Hold(const QString& kind, const QString& text)
    {
        if (!t_capture)
            return false;
        t_capture->m_shown.push_back({kind, text});
        return true;
    }
};

namespace {

void Show(const QString& text)
{
    if (CaptureAccess::Hold(QString(), text))
        return;
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
        QMetaObject::invokeMethod(
            app, [text] { Present(text); }, Qt::QueuedConnection);
        return;
    }
    Present(text);
}

}  // namespace

namespace {

// A text of a kind (a failure's pattern, or empty) held by this thread's
// capture, or shown when its batch admits it.
void Offer(const QString& kind, const QString& text)
{
    if (!CaptureAccess::Hold(kind, text) && Admit(kind, text))
        Show(text);
}

}  // namespace

void ShowMessage(const QString& text)
{
    Offer(QString(), text);
}

void ShowFailure(const QString& pattern, const QString& subject)
{
    Offer(pattern, QString(pattern).replace(QLatin1String("%1"), subject));
}

CMessageCapture::CMessageCapture()
    : m_outer(std::exchange(t_capture, this))
{
}

CMessageCapture::~CMessageCapture()
{
    t_capture = m_outer;
}

void CMessageCapture::Replay(const std::vector<Shown>& shown)
{
    for (const Shown& each : shown)
        Offer(each.kind, each.text);
}

CMessageBatch::CMessageBatch()
    : m_outermost(t_batch == nullptr)
{
    if (m_outermost)
        t_batch = new Batch;
}

CMessageBatch::~CMessageBatch()
{
    if (!m_outermost)
        return;
    const int more = t_batch->more;
    delete t_batch;
    t_batch = nullptr;
    if (more > 0)
        Show(MoreFailedText(more));
}

QString CMessageBatch::MoreFailedText(int count)
{
    return count == 1 ? QStringLiteral("1 more file could not be loaded.")
                      : QStringLiteral("%1 more files could not be loaded.").arg(count);
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
