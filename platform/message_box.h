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

// Shows text to the user (or records it in scripted runs).
void ShowMessage(const QString& text);

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
