#include "platform/profile.h"

#include "platform/registry_store.h"

#include <cerrno>
#include <mutex>

namespace {

struct ProfileNames {
    std::mutex mutex;
    QString registryKey = QStringLiteral("FARHAVEN");
    QString appName;
};

ProfileNames& Names()
{
    static ProfileNames names;
    return names;
}

// The executable's name unless one was set.
QString AppNameOf(const ProfileNames& n)
{
    return n.appName.isEmpty() ? QString::fromLocal8Bit(program_invocation_short_name) : n.appName;
}

}  // namespace

namespace Profile {

void SetRegistryKey(const QString& company)
{
    std::lock_guard lock(Names().mutex);
    Names().registryKey = company;
}

void SetAppName(const QString& appName)
{
    std::lock_guard lock(Names().mutex);
    Names().appName = appName;
}

QString AppName()
{
    std::lock_guard lock(Names().mutex);
    return AppNameOf(Names());
}

QString SectionKey(const QString& section)
{
    ProfileNames& n = Names();
    std::lock_guard lock(n.mutex);
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\") + n.registryKey + QLatin1Char('\\') + AppNameOf(n)
           + QLatin1Char('\\') + section;
}

int GetProfileInt(const QString& section, const QString& name, int defaultValue)
{
    return int(CRegistryStore::Instance().ReadDword(SectionKey(section), name, uint32_t(defaultValue)));
}

QString GetProfileString(const QString& section, const QString& name, const QString& defaultValue)
{
    return CRegistryStore::Instance().ReadString(SectionKey(section), name, defaultValue);
}

bool WriteProfileInt(const QString& section, const QString& name, int value)
{
    return CRegistryStore::Instance().WriteDword(SectionKey(section), name, uint32_t(value));
}

bool WriteProfileString(const QString& section, const QString& name, const QString& value)
{
    return CRegistryStore::Instance().WriteString(SectionKey(section), name, value);
}

}  // namespace Profile
