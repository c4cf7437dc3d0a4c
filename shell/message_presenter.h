// Shows the message-box service's texts as modal boxes over the device screen.
#pragma once

class QWidget;

void InstallMessagePresenter(QWidget* screen);
