// The File Association page's record: whether this program opens each of the
// four picture types (bmp, gif, jpeg, png, the page's order), kept as the
// value "Default" of the type's key in the registry stand-in (KeyOf). On a
// desktop a write also makes the desktop follow each box
// (app/desktop_defaults.h); the registry stays the record that reading uses.
#pragma once

#include <QString>
#include <array>

namespace FileAssociation {

constexpr int kTypeCount = 4;
using Values = std::array<int, kTypeCount>;  // 1 = this program opens the type

// The command that names this program, and the one written for the others.
extern const char kLumoCommand[];
extern const char kOtherCommand[];

// The type's key, by page position: "HKEY_CLASSES_ROOT\bmpimage\Shell\Open\Command".
QString KeyOf(int type);

// Reads the four types in order: a type whose command contains "Lumo.exe"
// (letter case counts) is 1. Stops at the first key that cannot be opened or
// whose value cannot be read, after showing "Failure open reg bmp files" or
// "Failure query reg bmp files" (gif, jpeg, png); the types not read stay 0.
Values Read();

// Writes every type's command, this program's for 1, the other for 0, as an
// expandable string. A key that cannot be opened is skipped without a word; a
// write that fails shows "Failure in setting Lumo as a default picture viewer".
// With desktop set, the desktop's default applications follow each type whose
// command was written, and a failure there shows the same message.
void Write(const Values& values, bool desktop);

}  // namespace FileAssociation
