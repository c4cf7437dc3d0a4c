// A question with Yes and No buttons (identifiers 6 and 7) in a small box
// over the device screen, as the save-file dialog asks before it replaces a
// file. It is a dialog like the others, so scripts answer it with `click`.
#pragma once

#include <QString>

class QWidget;

namespace QuestionBox {

constexpr int kYes = 6;
constexpr int kNo = 7;

// Runs the box modally; true when the user chose Yes.
bool AskYesNo(QWidget* screen, const QString& caption, const QString& text);

}  // namespace QuestionBox
