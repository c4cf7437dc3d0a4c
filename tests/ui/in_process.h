// The QApplication that in-process UI tests share: offscreen, made once,
// living as long as the test program.
#pragma once

#include <QApplication>

inline QApplication* EnsureApplication()
{
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    if (!qApp) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    }
    return qobject_cast<QApplication*>(qApp);
}
