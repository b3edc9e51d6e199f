#include "support/FakeRegistry.h"

#include <cstring>

void FakeRegistry::setValue(platform::RegistryKey root, const QByteArray& path,
                            const QByteArray& name, Value value)
{
    keys_[{root, path}][name] = std::move(value);
}

long FakeRegistry::openKey(platform::RegistryKey root, const QByteArray& subKey, quint32,
                           quint32 access, platform::RegistryKey* result)
{
    opened.append(subKey);
    accessMasks.append(access);
    if (!keys_.contains({root, subKey})) {
        *result = 0;
        return platform::kErrorFileNotFound;
    }
    *result = nextHandle_++;
    handles_.insert(*result, {root, subKey});
    return platform::kErrorSuccess;
}

long FakeRegistry::queryValue(platform::RegistryKey key, const QByteArray& valueName, quint32* type,
                              unsigned char* data, quint32* size)
{
    queried.append(valueName);
    if (!handles_.contains(key))
        return 6; // an invalid handle
    const auto& values = keys_.value(handles_.value(key));
    if (!values.contains(valueName))
        return platform::kErrorFileNotFound;
    const Value& value = values.value(valueName);
    const auto needed = static_cast<quint32>(value.data.size());
    if (needed > *size) {
        *size = needed;
        return platform::kErrorMoreData;
    }
    std::memcpy(data, value.data.constData(), needed);
    *type = value.type;
    *size = needed;
    return platform::kErrorSuccess;
}

long FakeRegistry::closeKey(platform::RegistryKey key)
{
    return handles_.remove(key) ? platform::kErrorSuccess : 6;
}
