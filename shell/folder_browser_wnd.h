// CFolderBrowserWnd: the window in which the user picks a folder, a storage
// card or a ZIP archive whose pictures become the new catalog. The main frame
// makes it once, hidden, and hands it to the image view, which lays it over
// itself on Browser Folder. A tree of "My Device" with folders, cards and
// archives (one sorted list per level, read as folders open and along the way
// to the remembered path), an "Include Subfolders" box, "OK" (not on the
// root) and "Cancel".
//
// OK stores "CurrPath" and "Include Subfolders" and starts the build of the
// chosen path that its maker gave (the document's loader thread); both
// buttons give the focus back to the view and hide the window.
#pragma once

#include "views/folder_browser_hooks.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class CFolderTreeCtrl;
class QCheckBox;
class QPushButton;
class QTreeWidgetItem;

class CFolderBrowserWnd : public QWidget, public CFolderBrowserHooks {
    Q_OBJECT
public:
    // What OK starts: a build of the path, with or without its subfolders,
    // on the loader thread (the running build stopped first).
    using StartBuild = std::function<void(const QString& path, int includeSubfolders)>;

    // Builds the controls and the tree as a child of parent, hidden and
    // disabled; owner (the image view) gets the focus back when it closes.
    CFolderBrowserWnd(QWidget* parent, QWidget* owner, StartBuild startBuild);

    // CFolderBrowserHooks
    bool IsShown() const override { return isVisible(); }
    void ShowOver(QWidget* view) override;
    void PlaceOver(QWidget* view) override;
    // The path of the selected item, without a trailing "\" except for the
    // root; the remembered path until an item is selected.
    QString CurrentPath() const { return m_currentPath; }

    // The device path of a tree item as the browser builds it: the root "\",
    // a folder "\a\b", an archive "\a\b.zip".
    static QString PathOf(const QTreeWidgetItem* item);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnSelChanged(QTreeWidgetItem* item);
    void OnOk();
    void Close();

    QPointer<QWidget> m_owner;
    StartBuild m_startBuild;
    CFolderTreeCtrl* m_tree;
    QCheckBox* m_includeSubfolders;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QString m_rememberedPath;
    QString m_currentPath = QStringLiteral("\\");
};
