// Fuzz target: the registry file parser on arbitrary bytes. Whatever it reads
// must write back to a text that reads again to the same values.
#include "platform/registry_data.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    CRegistryData parsed;
    CRegistryData::FromText(text, &parsed);
    for (const QString& key : parsed.Keys())
        for (const QString& name : parsed.ValueNames(key))
            if (!parsed.Find(key, name))
                std::abort();
    CRegistryData again;
    if (!CRegistryData::FromText(parsed.ToText(), &again) || !(again == parsed))
        std::abort();
    return 0;
}
