// The answer a script gives in advance to the next save-file or File Open
// dialog (`answer DEVICEPATH|cancel`). The dialog takes it as it opens and
// does what the user would: File Open selects the folder, taps the file and
// presses OK; the save-file dialog types the path and presses OK; "cancel"
// presses Cancel. A dialog that cannot do it reports why and stays open.
#pragma once

#include <QString>
#include <functional>

namespace DialogAnswer {

using Failure = std::function<void(const QString& reason)>;

// Keeps the answer for the next dialog that asks; failure hears why a
// dialog could not follow it.
void Set(const QString& answer, Failure failure);
// Takes the pending answer, if any (it answers one dialog only).
bool Take(QString* answer);
bool IsCancel(const QString& answer);
// Tells the script's failure handler why the answer could not be followed.
void Fail(const QString& reason);

}  // namespace DialogAnswer
