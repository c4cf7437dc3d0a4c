#include "app/file_association.h"

#include "app/desktop_defaults.h"
#include "platform/message_box.h"
#include "platform/registry_store.h"
#include "res/file_types.h"

namespace {

const QString kValueName = QStringLiteral("Default");
// The value is read into a zeroed buffer of 512 bytes: a longer one cannot be read.
constexpr qsizetype kReadBufferBytes = 512;

const FileTypeDef& TypeAt(int type)
{
    return FileTypes::Pictures()[size_t(type)];
}

QString Name(int type)
{
    return QString::fromLatin1(TypeAt(type).name);
}

}  // namespace

namespace FileAssociation {

const char kLumoCommand[] = "\"\\Program Files\\LUMO\\Lumo.exe\" %1";
const char kOtherCommand[] = "iexplore.exe file\\:%1";

QString KeyOf(int type)
{
    return QStringLiteral("HKEY_CLASSES_ROOT\\%1image\\Shell\\Open\\Command").arg(Name(type));
}

Values Read()
{
    Values values {};
    CRegistryStore& registry = CRegistryStore::Instance();
    for (int type = 0; type < kTypeCount; ++type) {
        if (!registry.KeyExists(KeyOf(type))) {
            ShowMessage(QStringLiteral("Failure open reg %1 files").arg(Name(type)));
            break;
        }
        RegValue value;
        if (!registry.Read(KeyOf(type), kValueName, &value) || value.data.size() > kReadBufferBytes) {
            ShowMessage(QStringLiteral("Failure query reg %1 files").arg(Name(type)));
            break;
        }
        values[size_t(type)] = value.ToText().contains(QLatin1String("Lumo.exe")) ? 1 : 0;
    }
    return values;
}

void Write(const Values& values, bool desktop)
{
    CRegistryStore& registry = CRegistryStore::Instance();
    for (int type = 0; type < kTypeCount; ++type) {
        if (!registry.KeyExists(KeyOf(type)))
            continue;
        const bool lumo = values[size_t(type)] == 1;
        const QString command = QString::fromLatin1(lumo ? kLumoCommand : kOtherCommand);
        bool ok = registry.Write(KeyOf(type), kValueName, RegValue::ExpandString(command));
        if (ok && desktop)
            ok = DesktopDefaults::Follow(QString::fromLatin1(TypeAt(type).mimeType), lumo);
        if (!ok)
            ShowMessage(QStringLiteral("Failure in setting Lumo as a default picture viewer"));
    }
}

}  // namespace FileAssociation
