#include "shell/file_open_dlg.h"

#include "app/file_open_model.h"
#include "app/settings.h"
#include "res/resource.h"
#include "res/resources.h"
#include "shell/dialog_answer.h"
#include "shell/file_icons.h"
#include "shell/folder_tree_ctrl.h"
#include "shell/tool_images.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {

constexpr int kTreeTop = CTitleDialog::kTitleHeight + 1;
constexpr int kComboWidth = 120;

// A tree image: the first icon normally, the second while the item is selected.
QIcon TreeIcon(int normalId, int selectedId)
{
    QIcon icon = ToolImages::Icon(normalId, 0, 0);
    const std::vector<QPixmap> selected = ToolImages::LoadStrip(selectedId);
    if (!selected.empty())
        icon.addPixmap(selected.front(), QIcon::Selected);
    return icon;
}

const QIcon& FolderIcon()
{
    static const QIcon icon = TreeIcon(Res::IDI_FOLDER, Res::IDI_OPEN_FOLDER);
    return icon;
}

}  // namespace

CFileOpenDlg::CFileOpenDlg(QWidget* screen)
    : CTitleDialog(screen, QStringLiteral("CFileOpenDlg"), QStringLiteral("File Open"))
    , m_filter(new QComboBox(this))
    , m_list(new QTreeWidget(this))
    , m_tree(new CFolderTreeCtrl(
          FolderTreeKind::Folders, [](const CFolderTreeNode&) { return FolderIcon(); }, this))
    , m_toolBar(new QWidget(this))
    , m_datePicture(CDateFormatter::UserShortDatePicture())
{
    SetTitle(QStringLiteral("File Open"));
    SetControlId(m_filter, Res::IDC_FILTER_COMBO);
    SetControlId(m_list, Res::IDC_FILE_LIST);
    SetControlId(m_tree, Res::IDC_FOLDER_TREE);
    for (const FileOpenModel::CFilterDef& f : FileOpenModel::Filters())
        m_filter->addItem(QLatin1String(f.text));
    m_list->setProperty("lumoKind", QStringLiteral("report"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setIconSize(QSize(16, 16));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->viewport()->installEventFilter(this);
    MakeToolBar();
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            OnTreeSelChanged();
    });
    connect(m_filter, &QComboBox::activated, this, &CFileOpenDlg::OnFilterChosen);
}

void CFileOpenDlg::MakeToolBar()
{
    m_toolBar->setAutoFillBackground(true);
    m_toolBar->setStyleSheet(QStringLiteral("QWidget{background:#d6d6d6}QToolButton{border:0;padding:2px}"
                                            "QToolButton:checked,QToolButton:pressed{background:#a0a0a0}"));
    int x = 2;
    int view = 0;
    for (const CToolButtonDef& def : Resources::FileOpenToolBarButtons()) {
        if (def.id == 0) {
            x += 8;
            continue;
        }
        auto* b = new QToolButton(m_toolBar);
        // OK and Cancel answer to the identifiers every dialog's OK and
        // Cancel have; the view buttons keep their command ids.
        SetControlId(b, def.id == Res::ID_FILE_OPEN_OK       ? DialogId::kOk
                        : def.id == Res::ID_FILE_OPEN_CANCEL ? DialogId::kCancel
                                                             : def.id);
        b->setIcon(ToolImages::Icon(Res::IDB_FILE_OPEN_TOOLBAR, Res::IDB_FILE_OPEN_TOOLBAR_DISABLED, def.image));
        b->setIconSize(QSize(16, 16));
        b->setGeometry(x, 2, 22, 22);
        x += 24;
        const int id = def.id;
        if (id == Res::ID_FILE_OPEN_OK) {
            m_ok = b;
            connect(b, &QToolButton::clicked, this, &CFileOpenDlg::OnOk);
        } else if (id == Res::ID_FILE_OPEN_CANCEL) {
            connect(b, &QToolButton::clicked, this, &QDialog::reject);
        } else {
            b->setCheckable(true);
            m_viewButtons[view] = b;
            const int mode = view++;
            connect(b, &QToolButton::clicked, this, [this, mode] { SetViewMode(mode); });
        }
    }
}

void CFileOpenDlg::showEvent(QShowEvent* event)
{
    if (!m_initialised)
        OnInitDialog();
    CTitleDialog::showEvent(event);
    QString answer;
    if (DialogAnswer::Take(&answer))
        QTimer::singleShot(0, this, [this, answer] { FollowAnswer(answer); });
}

void CFileOpenDlg::OnInitDialog()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_divider = ClampDivider(m_divider);
    LayOut();
    m_rememberedPath = Settings::FileOpenPath();
    QTreeWidgetItem* root
        = m_tree->AddRoot(FileOpenModel::GetDeviceName(), TreeIcon(Res::IDI_DEVICE, Res::IDI_DEVICE_SELECTED));
    root->setExpanded(true);
    // Folder paths end with "\": a remembered path without one matches no
    // folder, and the root is never chosen by it.
    QTreeWidgetItem* remembered = nullptr;
    if (m_rememberedPath.size() > 1 && m_rememberedPath.endsWith(QLatin1Char('\\')))
        remembered = m_tree->FindPath(m_rememberedPath.chopped(1));
    if (remembered) {
        m_tree->setCurrentItem(remembered);
        m_tree->scrollToItem(remembered);
    }
    m_list->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Date")});
    m_list->setColumnWidth(0, 80);
    m_list->setColumnWidth(1, 60);
    m_list->setColumnWidth(2, 60);
    m_list->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    ListFiles(m_folderPath, m_pattern);
    m_filter->setCurrentText(FileOpenModel::FilterTextFromPattern(m_pattern));
    UpdateToolButtons();
    m_initialised = true;
    QApplication::restoreOverrideCursor();
}

void CFileOpenDlg::LayOut()
{
    const int w = width();
    const int bottom = ClientBottom();
    m_filter->setGeometry(w - 3 - kComboWidth, 1, kComboWidth, kTitleHeight - 2);
    m_toolBar->setGeometry(0, bottom, w, kToolBarHeight);
    switch (m_viewMode) {
    case 0:
        m_tree->setGeometry(0, kTreeTop, w, m_divider - kTreeTop);
        m_list->setGeometry(0, m_divider + kDividerGap, w, bottom - m_divider - kDividerGap);
        m_tree->show();
        m_list->show();
        break;
    case 1:
        m_tree->setGeometry(0, kTreeTop, w, bottom - kTreeTop);
        m_tree->show();
        m_list->hide();
        break;
    default:
        m_list->setGeometry(0, kTreeTop, w, bottom - kTreeTop);
        m_tree->hide();
        m_list->show();
        break;
    }
}

QString CFileOpenDlg::PathFromTreeItem(const QTreeWidgetItem* item)
{
    if (!item)
        return QString();
    const QString path = CFolderTreeCtrl::PathOf(item);
    return path.endsWith(QLatin1Char('\\')) ? path : path + QLatin1Char('\\');
}

void CFileOpenDlg::ListFiles(const QString& folder, const QString& pattern)
{
    m_list->setUpdatesEnabled(false);
    m_list->clear();
    std::vector<FileOpenModel::CFileRow> rows;
    if (!folder.isEmpty())
        FileOpenModel::ListFiles(folder, pattern, &m_dateFormatter, m_datePicture, &rows);
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(rows.size()));
    for (const FileOpenModel::CFileRow& row : rows) {
        auto* item = new QTreeWidgetItem(QStringList {row.name, row.size, row.date});
        item->setIcon(0, FileIcons::ForName(row.name));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    // A chosen file stays chosen only while the list shows it.
    if (m_fileChosen) {
        const QList<QTreeWidgetItem*> chosen
            = m_list->findItems(m_fileName, Qt::MatchExactly | Qt::MatchCaseSensitive, 0);
        if (chosen.isEmpty())
            m_fileChosen = 0;
        else
            m_list->setCurrentItem(chosen.first());
        UpdateToolButtons();
    }
    m_list->setUpdatesEnabled(true);
}

void CFileOpenDlg::UpdateToolButtons()
{
    for (int mode = 0; mode < 3; ++mode)
        if (m_viewButtons[mode])
            m_viewButtons[mode]->setChecked(m_viewMode == mode);
    if (m_ok)
        m_ok->setEnabled(m_fileChosen != 0);
}

void CFileOpenDlg::OnTreeSelChanged()
{
    const QString folder = PathFromTreeItem(m_tree->currentItem());
    // The chosen file lies in the folder it was tapped in.
    if (folder != m_folderPath && m_fileChosen) {
        m_fileChosen = 0;
        UpdateToolButtons();
    }
    m_folderPath = folder;
    // While the dialog starts, its last step lists the files once.
    if (m_initialised && m_viewMode != 1)
        ListFiles(m_folderPath, m_pattern);
}

void CFileOpenDlg::OnListTap()
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        m_fileChosen = 0;
    } else {
        m_fileName = selected.first()->text(0);
        m_fileChosen = 1;
    }
    UpdateToolButtons();
}

void CFileOpenDlg::OnFilterChosen(int index)
{
    m_pattern = FileOpenModel::PatternFromFilterText(m_filter->itemText(index));
    if (m_viewMode != 1)
        ListFiles(m_folderPath, m_pattern);
}

void CFileOpenDlg::SetViewMode(int mode)
{
    // The list was left alone while only the tree showed.
    if (mode != 1 && m_viewMode == 1)
        ListFiles(m_folderPath, m_pattern);
    m_viewMode = mode;
    LayOut();
    UpdateToolButtons();
    update();
}

void CFileOpenDlg::OnOk()
{
    Settings::SetFileOpenPath(m_folderPath);
    Settings::SetFileOpenFilter(m_pattern);
    accept();
}

bool CFileOpenDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonRelease)
        OnListTap();
    return CTitleDialog::eventFilter(watched, event);
}

void CFileOpenDlg::OnPaint(QPainter& painter)
{
    if (m_viewMode != 0)
        return;
    painter.setPen(Qt::black);
    painter.drawLine(0, m_divider, width(), m_divider);
    painter.drawLine(0, m_divider + 1, width(), m_divider + 1);
}

int CFileOpenDlg::ClampDivider(int divider) const
{
    // Each pane keeps at least one row (the list also its header).
    const int row = std::max(m_tree->sizeHintForRow(0), m_tree->fontMetrics().height() + 2);
    const int treeMin = kTreeTop + row + 2 * m_tree->frameWidth();
    const int listMin = m_list->header()->sizeHint().height() + row + 2 * m_list->frameWidth();
    const int highest = ClientBottom() - kDividerGap - listMin;
    return std::max(treeMin, std::min(divider, highest));
}

void CFileOpenDlg::mousePressEvent(QMouseEvent* event)
{
    if (m_viewMode != 0 || event->button() != Qt::LeftButton)
        return;
    // The press keeps the pen's moves and release on this window until it lifts.
    m_dragState = 1;
    m_grabOffset = event->position().toPoint().y() - m_divider;
}

void CFileOpenDlg::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragState != 1)
        return;
    m_divider = ClampDivider(event->position().toPoint().y() - m_grabOffset);
    LayOut();
    repaint();
}

void CFileOpenDlg::mouseReleaseEvent(QMouseEvent*)
{
    if (m_dragState != 1)
        return;
    m_dragState = 0;
    repaint();
}

void CFileOpenDlg::FollowAnswer(const QString& answer)
{
    if (DialogAnswer::IsCancel(answer)) {
        reject();
        return;
    }
    const qsizetype cut = answer.lastIndexOf(QLatin1Char('\\'));
    const QString folder = cut <= 0 ? QStringLiteral("\\") : answer.left(cut);
    const QString name = answer.mid(cut + 1);
    QTreeWidgetItem* item = m_tree->FindPath(folder);
    if (!item) {
        DialogAnswer::Fail(QStringLiteral("File Open shows no folder %1").arg(folder));
        return;
    }
    if (m_viewMode == 1)
        SetViewMode(0);
    m_tree->setCurrentItem(item);
    m_tree->scrollToItem(item);
    const QList<QTreeWidgetItem*> rows = m_list->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive, 0);
    if (name.isEmpty() || rows.isEmpty()) {
        DialogAnswer::Fail(QStringLiteral("File Open lists no file \"%1\" in %2 with the pattern %3")
                               .arg(name, m_folderPath, m_pattern));
        return;
    }
    m_list->setCurrentItem(rows.first());
    m_list->scrollToItem(rows.first());
    OnListTap();
    m_ok->click();
}

bool CFileOpenDlg::Run(QWidget* screen, const QString& pattern, QString* path)
{
    CFileOpenDlg dialog(screen);
    dialog.SetPattern(pattern);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *path = dialog.FolderPath() + dialog.FileName();
    return true;
}
