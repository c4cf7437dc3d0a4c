#include "shell/save_file_dlg.h"

#include "app/file_open_model.h"
#include "platform/device_path.h"
#include "platform/host_bytes.h"
#include "res/resource.h"
#include "shell/dialog_answer.h"
#include "shell/file_icons.h"
#include "shell/folder_tree_ctrl.h"
#include "shell/input_panel.h"
#include "shell/question_box.h"
#include "shell/tool_images.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <sys/stat.h>

namespace {

constexpr int kMargin = 3;
constexpr int kRow = 22;
constexpr int kLabelWidth = 38;

QString FolderOf(const QString& path)
{
    const qsizetype cut = path.lastIndexOf(QLatin1Char('\\'));
    return cut <= 0 ? QStringLiteral("\\") : path.left(cut);
}

}  // namespace

CSaveFileDlg::CSaveFileDlg(QWidget* screen, const QString& proposed, const QString& filter,
                           const QString& defaultExtension)
    : CDeviceDialog(screen, QStringLiteral("CSaveFileDlg"), QStringLiteral("Save As"))
    , m_name(new QLineEdit(this))
    , m_type(new QComboBox(this))
    , m_tree(new CFolderTreeCtrl(
          FolderTreeKind::Folders,
          [](const CFolderTreeNode&) {
              static const QIcon folder = ToolImages::Icon(Res::IDI_FOLDER, 0, 0);
              return folder;
          },
          this))
    , m_files(new QListWidget(this))
    , m_filters(ParseFilter(filter))
    , m_defaultExtension(defaultExtension)
    , m_folder(FolderOf(proposed))
{
    auto* nameLabel = new QLabel(QStringLiteral("Name:"), this);
    nameLabel->setGeometry(kMargin, kMargin, kLabelWidth, kRow);
    auto* typeLabel = new QLabel(QStringLiteral("Type:"), this);
    typeLabel->setGeometry(kMargin, 2 * kMargin + kRow, kLabelWidth, kRow);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_ok = ok;
    m_cancel = cancel;
    LayOut(0);
    // The name is typed on the on-screen keyboard where there is no other;
    // the rest moves up above it.
    InputPanel::FollowFocus(m_name);
    InputPanel::OnHeightChanged(this, [this](int covered) { LayOut(covered); });
    ok->setDefault(true);
    SetControlId(m_name, Res::IDC_SAVE_NAME);
    SetControlId(m_type, Res::IDC_SAVE_TYPE);
    SetControlId(m_tree, Res::IDC_SAVE_FOLDERS);
    SetControlId(m_files, Res::IDC_SAVE_FILES);
    SetControlId(ok, DialogId::kOk);
    SetControlId(cancel, DialogId::kCancel);
    for (const auto& [text, pattern] : m_filters)
        m_type->addItem(text);

    m_name->setText(proposed.mid(proposed.lastIndexOf(QLatin1Char('\\')) + 1));
    QTreeWidgetItem* root = m_tree->AddRoot(FileOpenModel::GetDeviceName(), ToolImages::Icon(Res::IDI_DEVICE, 0, 0));
    root->setExpanded(true);
    if (QTreeWidgetItem* item = m_tree->FindPath(m_folder)) {
        m_tree->setCurrentItem(item);
        m_tree->scrollToItem(item);
    }
    ListFiles();
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!item)
            return;
        m_folder = CFolderTreeCtrl::PathOf(item);
        ListFiles();
    });
    connect(m_type, &QComboBox::activated, this, [this] { ListFiles(); });
    connect(m_files, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { m_name->setText(item->text()); });
    connect(ok, &QPushButton::clicked, this, &CSaveFileDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CSaveFileDlg::LayOut(int covered)
{
    const int w = width();
    m_name->setGeometry(kMargin + kLabelWidth, kMargin, w - 2 * kMargin - kLabelWidth, kRow);
    m_type->setGeometry(kMargin + kLabelWidth, 2 * kMargin + kRow, w - 2 * kMargin - kLabelWidth, kRow);
    const int top = 3 * kMargin + 2 * kRow;
    const int bottom = std::max(top + 2 * kRow, height() - covered - kRow - 2 * kMargin);
    const int split = top + (bottom - top) * 3 / 5;
    m_tree->setGeometry(0, top, w, split - top);
    m_files->setGeometry(0, split + 1, w, bottom - split - 1);
    m_ok->setGeometry(w - 2 * (60 + kMargin), bottom + kMargin, 60, kRow);
    m_cancel->setGeometry(w - 60 - kMargin, bottom + kMargin, 60, kRow);
}

std::vector<std::pair<QString, QString>> CSaveFileDlg::ParseFilter(const QString& filter)
{
    std::vector<std::pair<QString, QString>> pairs;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2)
        pairs.emplace_back(parts[i], parts[i + 1]);
    return pairs;
}

QString CSaveFileDlg::ResolveName(const QString& folder, const QString& typed, const QString& defaultExtension)
{
    QString path = typed.startsWith(QLatin1Char('\\'))  ? typed
                   : folder.endsWith(QLatin1Char('\\')) ? folder + typed
                                                        : folder + QLatin1Char('\\') + typed;
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('\\')) + 1);
    if (!defaultExtension.isEmpty() && !name.isEmpty() && !name.contains(QLatin1Char('.')))
        path += QLatin1Char('.') + defaultExtension;
    return path;
}

void CSaveFileDlg::ListFiles()
{
    m_files->clear();
    const int type = m_type->currentIndex();
    const QString pattern
        = type >= 0 && type < int(m_filters.size()) ? m_filters[size_t(type)].second : QStringLiteral("*.*");
    std::vector<CFindData> entries;
    EnumerateDirectory(m_folder, &entries);
    for (const CFindData& entry : entries)
        if (!entry.isDirectory && FileOpenModel::MatchesPattern(entry.name, pattern))
            m_files->addItem(new QListWidgetItem(FileIcons::ForName(entry.name), entry.name));
}

void CSaveFileDlg::OnOk()
{
    const QString typed = m_name->text();
    if (typed.isEmpty() || typed.endsWith(QLatin1Char('\\')))
        return;
    const QString path = ResolveName(m_folder, typed, m_defaultExtension);
    struct stat target { };
    const bool exists = ::stat(HostBytes::Encode(DevicePath::ToHost(path)).constData(), &target) == 0;
    if (exists && S_ISDIR(target.st_mode)) {
        // A folder's name opens that folder, as in any file dialog.
        if (QTreeWidgetItem* item = m_tree->FindPath(path)) {
            m_tree->setCurrentItem(item);
            m_tree->scrollToItem(item);
            m_name->clear();
        }
        return;
    }
    if (exists
        && !QuestionBox::AskYesNo(parentWidget(), windowTitle(),
                                  QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                      .arg(path.mid(path.lastIndexOf(QLatin1Char('\\')) + 1))))
        return;
    m_chosen = path;
    accept();
}

void CSaveFileDlg::showEvent(QShowEvent* event)
{
    CDeviceDialog::showEvent(event);
    m_name->setFocus();
    m_name->selectAll();
    QString answer;
    if (DialogAnswer::Take(&answer))
        QTimer::singleShot(0, this, [this, answer] { FollowAnswer(answer); });
}

void CSaveFileDlg::FollowAnswer(const QString& answer)
{
    if (DialogAnswer::IsCancel(answer)) {
        reject();
        return;
    }
    // Typed into the name field as a full path, then OK.
    m_name->setText(answer);
    OnOk();
}

void CSaveFileDlg::hideEvent(QHideEvent* event)
{
    // The keyboard belonged to the name field.
    if (InputPanel::IsShown())
        InputPanel::SipShowIM(false);
    CDeviceDialog::hideEvent(event);
}

bool CSaveFileDlg::Run(QWidget* screen, const QString& proposed, const QString& filter, const QString& defaultExtension,
                       QString* path)
{
    CSaveFileDlg dialog(screen, proposed, filter, defaultExtension);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *path = dialog.ChosenPath();
    return true;
}
