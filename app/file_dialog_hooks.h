// What the document's file commands ask of the user interface: the dialogs
// that choose a path, and the folder browser. The user interface implements
// it and hands it to the document; core tests use stand-ins.
#pragma once

#include <QString>

class CFileDialogHooks {
public:
    virtual ~CFileDialogHooks() = default;
    // Runs the File Open dialog, first listing files of pattern; on OK gives
    // the chosen device path (folder and file name) and returns true.
    virtual bool RunFileOpen(const QString& pattern, QString* path) = 0;
    // Runs the save-file dialog, proposing a device path, with a filter list
    // ("text|pattern|...||") and a default extension appended to a name
    // that has none (empty for none). It asks before an existing file is
    // replaced. On OK gives the chosen device path and returns true.
    virtual bool RunSaveFile(const QString& proposed, const QString& filter, const QString& defaultExtension,
                             QString* path)
        = 0;
    // Lays the folder browser over the active view, enables and shows it.
    virtual void ShowFolderBrowser() = 0;
};
