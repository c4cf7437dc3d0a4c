// The message-box service: a text with an OK button, callable from any thread.
//
// Interactive runs show a modal box on the user-interface thread; scripted runs
// and tests record the text, write "lumo: message: TEXT" to standard error and
// answer OK at once. A message raised on a worker thread is handed to the
// user-interface thread without blocking the worker.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// Shows text to the user (or records it in scripted runs).
void ShowMessage(const QString& text);
// Shows a failure: pattern with its "%1" replaced by subject (a path or a
// name). Within a batch the pattern is the failure's kind (see CMessageBatch).
void ShowFailure(const QString& pattern, const QString& subject);

// One failure, one message: while a batch is open on a thread, what that
// thread shows is gathered. A text already shown in the batch is dropped; of
// the failures of one kind (ShowFailure's pattern) only the first is shown and
// the others are counted; other texts are shown once each. When the outermost
// batch of the thread closes, one more box says how many more failed. An inner
// batch (a build within a build, a load within a build) joins the outer one.
// Open one around each build and each load of a picture.
class CMessageBatch {
public:
    CMessageBatch();
    ~CMessageBatch();
    CMessageBatch(const CMessageBatch&) = delete;
    CMessageBatch& operator=(const CMessageBatch&) = delete;

    // The closing box's text for count more failures.
    static QString MoreFailedText(int count);

private:
    bool m_outermost;
};

// What this thread shows while the capture lives is held, not shown, so
// that another thread can show it later in order (Replay): a thumbnail
// decoded on a pool thread reports through the batch of the build that
// asked for it, as if that thread had decoded it.
class CMessageCapture {
public:
    struct Shown {
        QString kind;  // a failure's pattern; empty for a plain message
        QString text;
    };
    CMessageCapture();
    ~CMessageCapture();
    CMessageCapture(const CMessageCapture&) = delete;
    CMessageCapture& operator=(const CMessageCapture&) = delete;

    std::vector<Shown> Take() { return std::move(m_shown); }
    // Shows what a capture held, on this thread, as ShowMessage and
    // ShowFailure would have.
    static void Replay(const std::vector<Shown>& shown);

private:
    friend struct CaptureAccess;
    std::vector<Shown> m_shown;
    CMessageCapture* m_outer;
};

namespace MessageBoxService {

// How a message reaches the user; installed by the user interface at start.
// Called on the user-interface thread when one is running, else on the caller's.
using Presenter = std::function<void(const QString& text)>;
void SetPresenter(Presenter presenter);

// Every text shown so far, in order.
QStringList Messages();
void ClearMessages();
// Whether each message is also written to standard error (scripted runs, tests).
void SetEcho(bool echo);

}  // namespace MessageBoxService
