#include "shell/about_box.h"

#include "views/program_art.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutBox::CAboutBox(QWidget* screen)
    : CDeviceDialog(screen, QStringLiteral("CAboutBox"), QStringLiteral("About Lumo"))
{
    auto* layout = new QVBoxLayout(this);
    auto* title = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(ProgramArt::Icon(kIconSize));
    title->addWidget(icon);
    auto* name = new QLabel(QStringLiteral("Lumo 2.0.5"), this);
    QFont f = name->font();
    f.setBold(true);
    name->setFont(f);
    title->addWidget(name, 1);
    layout->addLayout(title);
    layout->addWidget(new QLabel(QStringLiteral("Picture Viewer"), this));
    layout->addWidget(new QLabel(QStringLiteral("Copyright (C) the Lumo developers"), this));
    layout->addWidget(new QLabel(QStringLiteral("Free software; no warranty."), this));
    layout->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    SetControlId(ok, 1);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok);
}
