#pragma once

#include "platform/Registry.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>

// An in-memory registry: keys by root and path, values by name with their type and bytes.
// It counts the keys left open and logs every key opened and value read.
class FakeRegistry final : public platform::Registry {
public:
    struct Value {
        quint32 type = platform::kRegSz;
        QByteArray data;
    };

    void setValue(platform::RegistryKey root, const QByteArray& path, const QByteArray& name,
                  Value value);

    long openKey(platform::RegistryKey root, const QByteArray& subKey, quint32 options,
                 quint32 access, platform::RegistryKey* result) override;
    long queryValue(platform::RegistryKey key, const QByteArray& valueName, quint32* type,
                    unsigned char* data, quint32* size) override;
    long closeKey(platform::RegistryKey key) override;

    QList<QByteArray> opened;  // key paths, in the order they were opened
    QList<QByteArray> queried; // value names, in the order they were read
    QList<quint32> accessMasks;
    int openKeys() const { return static_cast<int>(handles_.size()); }

private:
    QMap<QPair<platform::RegistryKey, QByteArray>, QMap<QByteArray, Value>> keys_;
    QMap<platform::RegistryKey, QPair<platform::RegistryKey, QByteArray>> handles_;
    platform::RegistryKey nextHandle_ = 100;
};
