// The QApplication that in-process UI tests share: offscreen, made once,
// living as long as the test program.
#pragma once

#include "platform/message_box.h"
#include "platform/profile.h"
#include "platform/registry_store.h"

#include <QApplication>
#include <QTemporaryDir>

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

// Settings of an in-process run kept in dir's own registry file, messages
// recorded; and, when the test ends, pointed away from it.
inline void UseScratchRegistry(const QTemporaryDir& dir)
{
    CRegistryStore::Instance().SetFile(dir.filePath(QStringLiteral("registry.reg")));
    Profile::SetAppName(QStringLiteral("lumo"));
    MessageBoxService::SetEcho(true);
}

inline void LeaveScratchRegistry(const QTemporaryDir& dir)
{
    CRegistryStore::Instance().SetFile(dir.filePath(QStringLiteral("unused.reg")));
}
