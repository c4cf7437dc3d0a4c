#include "shell/folder_browser_wnd.h"

#include "app/settings.h"
#include "res/resource.h"
#include "shell/device_dialog.h"
#include "shell/folder_tree_ctrl.h"
#include "shell/tool_images.h"

#include <QCheckBox>
#include <QPainter>
#include <QPushButton>

namespace {

constexpr int kBarHeight = 20;
// Images of bitmap 130.
enum Image { kDevice, kFolder, kOpenFolder, kArchive, kCard };

QIcon BrowserIcon(Image normal, Image selected)
{
    QIcon icon = ToolImages::Icon(Res::IDB_FOLDER_BROWSER, 0, normal);
    if (selected != normal) {
        const std::vector<QPixmap> strip = ToolImages::LoadStrip(Res::IDB_FOLDER_BROWSER);
        if (size_t(selected) < strip.size())
            icon.addPixmap(strip[size_t(selected)], QIcon::Selected);
    }
    return icon;
}

QIcon NodeIcon(const CFolderTreeNode& node)
{
    static const QIcon folder = BrowserIcon(kFolder, kOpenFolder);
    static const QIcon archive = BrowserIcon(kArchive, kArchive);
    static const QIcon card = BrowserIcon(kCard, kCard);
    return node.isArchive ? archive : node.isStorageCard ? card : folder;
}

}  // namespace

CFolderBrowserWnd::CFolderBrowserWnd(QWidget* parent, QWidget* owner, StartBuild startBuild)
    : QWidget(parent)
    , m_owner(owner)
    , m_startBuild(std::move(startBuild))
    , m_tree(new CFolderTreeCtrl(FolderTreeKind::FoldersAndArchives, NodeIcon, this))
    , m_includeSubfolders(new QCheckBox(QStringLiteral("Include Subfolders"), this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
    , m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setProperty("lumoClass", QStringLiteral("CFolderBrowserWnd"));
    setWindowTitle(QStringLiteral("Folder Browser"));
    SetControlId(this, Res::IDW_FOLDER_BROWSER);
    MarkToolWindow(this);
    SetControlId(m_tree, Res::IDC_BROWSER_TREE);
    SetControlId(m_includeSubfolders, Res::IDC_INCLUDE_SUBFOLDERS);
    SetControlId(m_ok, Res::IDC_BROWSER_OK);
    SetControlId(m_cancel, Res::IDC_BROWSER_CANCEL);
    m_tree->setFrameShape(QFrame::Box);
    m_includeSubfolders->setChecked(Settings::IncludeSubfolders() != 0);
    connect(m_ok, &QPushButton::clicked, this, &CFolderBrowserWnd::OnOk);
    connect(m_cancel, &QPushButton::clicked, this, &CFolderBrowserWnd::Close);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &CFolderBrowserWnd::OnSelChanged);

    m_rememberedPath = Settings::CurrPath();
    QTreeWidgetItem* root = m_tree->AddRoot(QStringLiteral("My Device"), BrowserIcon(kDevice, kDevice));
    root->setExpanded(true);
    // Only the items below the root are matched against the remembered path.
    QTreeWidgetItem* remembered
        = m_rememberedPath == QLatin1String("\\") ? nullptr : m_tree->FindPath(m_rememberedPath);
    if (remembered) {
        m_tree->setCurrentItem(remembered);
        m_tree->scrollToItem(remembered);
    }
    m_currentPath = m_rememberedPath;
    setEnabled(false);
    hide();
}

QString CFolderBrowserWnd::PathOf(const QTreeWidgetItem* item)
{
    return CFolderTreeCtrl::PathOf(item);
}

void CFolderBrowserWnd::ShowOver(QWidget* view)
{
    setEnabled(true);
    show();
    PlaceOver(view);
}

void CFolderBrowserWnd::PlaceOver(QWidget* view)
{
    if (!view || !parentWidget())
        return;
    setGeometry(QRect(view->mapTo(parentWidget(), QPoint(0, 0)), view->size()));
    raise();
}

void CFolderBrowserWnd::resizeEvent(QResizeEvent*)
{
    const int w = width();
    m_tree->setGeometry(-1, kBarHeight, w + 2, height() - kBarHeight + 1);
    m_includeSubfolders->setGeometry(5, 0, 135, kBarHeight);
    // The buttons keep their distance from the right edge.
    m_ok->setGeometry(w - 85, 2, 30, 16);
    m_cancel->setGeometry(w - 53, 2, 50, 16);
}

void CFolderBrowserWnd::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), Qt::white);
}

void CFolderBrowserWnd::OnSelChanged(QTreeWidgetItem* item)
{
    if (!item)
        return;
    m_ok->setEnabled(item != m_tree->Root());
    m_currentPath = PathOf(item);
}

void CFolderBrowserWnd::OnOk()
{
    const int include = m_includeSubfolders->isChecked() ? 1 : 0;
    Settings::SetCurrPath(m_currentPath);
    Settings::SetIncludeSubfolders(include);
    if (m_startBuild)
        m_startBuild(m_currentPath, include);
    Close();
}

void CFolderBrowserWnd::Close()
{
    if (m_owner)
        m_owner->setFocus();
    setEnabled(false);
    hide();
}
