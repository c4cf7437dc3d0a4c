#include "shell/message_presenter.h"

#include "platform/message_box.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

void InstallMessagePresenter(QWidget* screen)
{
    QPointer<QWidget> owner(screen);
    MessageBoxService::SetPresenter([owner](const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Lumo"), text, QMessageBox::Ok, owner.data());
        box.setProperty("lumoClass", QStringLiteral("CMessageBox"));
        box.exec();
    });
}
