#include "app/desktop_defaults.h"

#include "platform/device_path.h"
#include "platform/profile.h"
#include "platform/xdg_mime_apps.h"

#include <QStringList>

namespace {

const QString kSection = QStringLiteral("File Association");

QStringList Ids(const QString& line)
{
    return line.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

}  // namespace

namespace DesktopDefaults {

QString DesktopId()
{
    return QStringLiteral(LUMO_APP_ID ".desktop");
}

bool IsDesktop()
{
    return DevicePath::DeviceRoot().isEmpty();
}

bool Follow(const QString& mimeType, bool lumo)
{
    const QString line = XdgMimeApps::UserDefaults(mimeType);
    QStringList ids = Ids(line);
    const bool held = !ids.isEmpty() && ids.first() == DesktopId();
    if (lumo) {
        // A desktop entry the desktop cannot find would leave the type with no viewer.
        if (held || !XdgMimeApps::IsDesktopEntryInstalled(DesktopId()))
            return true;
        Profile::WriteProfileString(kSection, mimeType, line);
        return XdgMimeApps::SetUserDefaults(mimeType, DesktopId());
    }
    if (!held)
        return true;
    const QString previous = Profile::GetProfileString(kSection, mimeType, QString());
    ids.removeAll(DesktopId());
    if (!XdgMimeApps::SetUserDefaults(mimeType, previous.isEmpty() ? ids.join(QLatin1Char(';')) : previous))
        return false;
    Profile::WriteProfileString(kSection, mimeType, QString());
    return true;
}

}  // namespace DesktopDefaults
