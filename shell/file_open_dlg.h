// CFileOpenDlg: the program's own modal file chooser for Open File and Add
// File. A folder tree on top, the chosen folder's files below (filtered by
// the pattern of a combo box laid into the title line), a tool bar of OK,
// Cancel and three view buttons along the bottom. The divider between tree
// and list follows the pen while both are shown. It remembers the folder
// and pattern in the settings, written by OK only.
//
// The tree reads a folder when it is opened or lies on the way to the
// remembered folder (shell/folder_tree_ctrl.h); the root is the device's name.
//
// A tapped file stays chosen (and OK enabled) only while its folder stays
// selected and the list shows it: OK never returns a file of one folder
// joined to another folder.
#pragma once

#include "platform/date_formatter.h"
#include "shell/title_dialog.h"

class CFolderTreeCtrl;
class QComboBox;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

class CFileOpenDlg : public CTitleDialog {
    Q_OBJECT
public:
    // Height of the tool bar along the dialog's bottom.
    static constexpr int kToolBarHeight = 26;
    // Rows between the tree's bottom (the divider) and the list's top.
    static constexpr int kDividerGap = 7;

    explicit CFileOpenDlg(QWidget* screen);

    // The pattern listed first; the callers give the stored "FileOpen Filter".
    void SetPattern(const QString& pattern) { m_pattern = pattern; }
    QString Pattern() const { return m_pattern; }
    // The chosen folder, starting and ending with "\" ("\" for the root;
    // empty before a folder was selected), and the file tapped in it.
    QString FolderPath() const { return m_folderPath; }
    QString FileName() const { return m_fileName; }
    // 0 tree and list, 1 tree only, 2 list only.
    int ViewMode() const { return m_viewMode; }
    int Divider() const { return m_divider; }

    // The folder path of a tree item: "\" for the root, "\a\b\" below it,
    // empty for none.
    static QString PathFromTreeItem(const QTreeWidgetItem* item);

    // Fills the list with the files of a folder path ("\a\b\") that match
    // pattern, in listing order; an empty path gives an empty list.
    void ListFiles(const QString& folder, const QString& pattern);

    // Runs a dialog listing pattern first; on OK gives folder + file name.
    static bool Run(QWidget* screen, const QString& pattern, QString* path);

protected:
    void showEvent(QShowEvent* event) override;
    void OnPaint(QPainter& painter) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnInitDialog();
    void MakeToolBar();
    void LayOut();
    void UpdateToolButtons();
    void OnTreeSelChanged();
    void OnListTap();
    void OnFilterChosen(int index);
    void SetViewMode(int mode);
    void OnOk();
    // Follows a script's answer given in advance, as the pen would.
    void FollowAnswer(const QString& answer);
    // The divider within the bounds that leave both panes a row.
    int ClampDivider(int divider) const;
    int ClientBottom() const { return height() - kToolBarHeight; }

    QComboBox* m_filter;
    QTreeWidget* m_list;
    CFolderTreeCtrl* m_tree;
    QWidget* m_toolBar;
    QToolButton* m_ok = nullptr;
    QToolButton* m_viewButtons[3] = {};
    QString m_rememberedPath;
    QString m_folderPath;
    QString m_fileName;
    QString m_pattern = QStringLiteral("*");
    QString m_datePicture;
    CDateFormatter m_dateFormatter;
    int m_fileChosen = 0;
    int m_viewMode = 0;
    int m_divider = 120;
    int m_dragState = 0;
    int m_grabOffset = 0;
    bool m_initialised = false;
};
