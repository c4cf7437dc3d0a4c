#include "shell/question_box.h"

#include "shell/device_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace QuestionBox {

bool AskYesNo(QWidget* screen, const QString& caption, const QString& text)
{
    CDeviceDialog box(screen, QStringLiteral("CMessageBox"), caption);
    // A box in the middle of the device screen rather than the whole of it.
    const QRect area = CDeviceDialog::DialogArea(screen);
    if (!area.isEmpty()) {
        const QSize size(std::min(area.width() - 20, 220), 110);
        box.setGeometry(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size));
    }
    auto* layout = new QVBoxLayout(&box);
    auto* label = new QLabel(text, &box);
    label->setWordWrap(true);
    layout->addWidget(label, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (const auto& [id, name] : {std::pair {kYes, "Yes"}, std::pair {kNo, "No"}}) {
        auto* b = new QPushButton(QLatin1String(name), &box);
        SetControlId(b, id);
        const int result = id;
        QObject::connect(b, &QPushButton::clicked, &box, [&box, result] { box.done(result); });
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    return box.exec() == kYes;
}

}  // namespace QuestionBox
