// CSaveFileDlg: the compact save-file dialog of Save As and Save As Album,
// laid out for the device screen: the file name on top, the type list of
// the caller's filter under it, the folder tree (filled as folders open) and
// the files of the chosen folder that match the type; OK and Cancel at the
// bottom. OK asks before an existing file is replaced.
//
// A name typed as a full device path ("\a\b.jpg") is taken as it stands;
// another name lies in the folder chosen in the tree. A name without an
// extension gets the caller's default extension, if any.
#pragma once

#include "shell/device_dialog.h"

#include <QStringList>
#include <utility>
#include <vector>

class CFolderTreeCtrl;
class QComboBox;
class QLineEdit;
class QListWidget;

class CSaveFileDlg : public CDeviceDialog {
    Q_OBJECT
public:
    // filter: "text|pattern|text|pattern|...||".
    CSaveFileDlg(QWidget* screen, const QString& proposed, const QString& filter, const QString& defaultExtension);

    // The device path OK chose.
    QString ChosenPath() const { return m_chosen; }
    QString Folder() const { return m_folder; }

    // The (text, pattern) pairs of a filter text.
    static std::vector<std::pair<QString, QString>> ParseFilter(const QString& filter);
    // What a typed name stands for in folder: a full device path as it
    // stands, else the name inside folder; a name without "." gets
    // defaultExtension (none when empty).
    static QString ResolveName(const QString& folder, const QString& typed, const QString& defaultExtension);

    // Runs the dialog; true on OK, with the chosen device path.
    static bool Run(QWidget* screen, const QString& proposed, const QString& filter, const QString& defaultExtension,
                    QString* path);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Places the controls above the bottom band the on-screen keyboard covers.
    void LayOut(int covered);
    void ListFiles();
    void OnOk();
    void FollowAnswer(const QString& answer);

    QLineEdit* m_name;
    QComboBox* m_type;
    CFolderTreeCtrl* m_tree;
    QListWidget* m_files;
    QWidget* m_ok = nullptr;
    QWidget* m_cancel = nullptr;
    std::vector<std::pair<QString, QString>> m_filters;
    QString m_defaultExtension;
    QString m_folder;
    QString m_chosen;
};
