#include "shell/about_box.h"

#include "shell/device_screen.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutBox::CAboutBox(QWidget* screen)
    : QDialog(screen)
{
    setProperty("lumoClass", QStringLiteral("CAboutBox"));
    setWindowTitle(QStringLiteral("About Lumo"));
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(QStringLiteral("Lumo 2.0.5"), this);
    QFont f = name->font();
    f.setBold(true);
    name->setFont(f);
    layout->addWidget(name);
    layout->addWidget(new QLabel(QStringLiteral("Picture Viewer"), this));
    layout->addWidget(new QLabel(QStringLiteral("Copyright (C) the Lumo developers"), this));
    layout->addWidget(new QLabel(QStringLiteral("Free software; no warranty."), this));
    layout->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok);
    // Dialogs fill the screen below the task bar, as on the handheld.
    if (auto* s = qobject_cast<CDeviceScreen*>(screen)) {
        const QRect area(s->mapToGlobal(QPoint(0, CDeviceScreen::kTaskBarHeight)),
                         QSize(s->width(), s->height() - CDeviceScreen::kTaskBarHeight));
        setGeometry(area);
    }
}
