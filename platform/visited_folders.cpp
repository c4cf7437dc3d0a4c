#include "platform/visited_folders.h"

#include "platform/device_path.h"
#include "platform/host_bytes.h"
#include "platform/host_file_system.h"

#include <QFile>
#include <sys/stat.h>

bool CVisitedFolders::Enter(const QString& deviceFolder)
{
    return EnterHost(DevicePath::ToHost(deviceFolder));
}

bool CVisitedFolders::EnterHost(const QString& hostFolder)
{
    struct stat st { };
    if (::stat(HostBytes::Encode(hostFolder).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    if (m_entered.empty()) {
        m_startDevice = st.st_dev;
    } else if (m_entered.count({st.st_dev, st.st_ino})
               || (st.st_dev != m_startDevice && m_pseudo.IsPseudo(st.st_dev, hostFolder))) {
        return false;
    }
    m_entered.insert({st.st_dev, st.st_ino});
    return true;
}

bool CVisitedFolders::WasEntered(const QString& deviceFolder) const
{
    struct stat st { };
    if (::stat(HostBytes::Encode(DevicePath::ToHost(deviceFolder)).constData(), &st) != 0)
        return false;
    return m_entered.count({st.st_dev, st.st_ino}) != 0;
}
