#include "shell/about_box.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutBox::CAboutBox(QWidget* screen)
    : CDeviceDialog(screen, QStringLiteral("CAboutBox"), QStringLiteral("About Lumo"))
{
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
    SetControlId(ok, 1);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok);
}
