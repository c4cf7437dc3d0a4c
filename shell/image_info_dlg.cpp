#include "shell/image_info_dlg.h"

#include "app/image_info.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

struct Field {
    int id;
    const char* label;
    QString CImageInfoTexts::*text;
};

const Field kFileInfo[] = {
    {1007, "Filename:", &CImageInfoTexts::fileName},
    {1008, "Location:", &CImageInfoTexts::location},  // two lines high
    {1009, "Time:", &CImageInfoTexts::time},
    {1010, "Size:", &CImageInfoTexts::fileSize},
};

const Field kImageInfo[] = {
    {1011, "Colors:", &CImageInfoTexts::colors},         {1012, "Size:", &CImageInfoTexts::dimensions},
    {1013, "Rotaion:", &CImageInfoTexts::rotation},      {1014, "Zoom:", &CImageInfoTexts::zoom},
    {1015, "Brightness:", &CImageInfoTexts::brightness}, {1016, "Contrast:", &CImageInfoTexts::contrast},
};

}  // namespace

CImageInfoDlg::CImageInfoDlg(QWidget* screen)
    : CDeviceDialog(screen, QStringLiteral("CImageInfoDlg"), QStringLiteral("Image Info"))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->addWidget(MakeTitleLine());
    std::vector<const Field*> order;
    const auto addGroup = [&](const QString& title, const auto& fields) {
        auto* group = new QGroupBox(title, this);
        auto* grid = new QGridLayout(group);
        grid->setColumnStretch(1, 1);
        grid->setVerticalSpacing(2);
        int row = 0;
        for (const Field& f : fields) {
            grid->addWidget(new QLabel(QString::fromLatin1(f.label), group), row, 0, Qt::AlignLeft | Qt::AlignTop);
            auto* value = new QLabel(group);
            SetControlId(value, f.id);
            // A long name is cut at the dialog's edge rather than widening it.
            value->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            if (f.text == &CImageInfoTexts::location)
                value->setMinimumHeight(2 * value->fontMetrics().height());
            grid->addWidget(value, row++, 1, Qt::AlignTop);
            m_fields.append(value);
            order.push_back(&f);
        }
        layout->addWidget(group);
    };
    addGroup(QStringLiteral("File Info"), kFileInfo);
    addGroup(QStringLiteral("Image Info"), kImageInfo);
    layout->addStretch(1);

    const CImageItem* item = ActiveEntry();
    if (!item)
        return;
    const CImageInfoTexts texts = ImageInfo::TextsOf(*item);
    for (int i = 0; i < m_fields.size(); ++i)
        m_fields[i]->setText(texts.*(order[size_t(i)]->text));
}
