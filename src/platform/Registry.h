#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace platform {

// A handle of an open registry key, or of a predefined root key.
using RegistryKey = quint32;

inline constexpr RegistryKey kHkeyLocalMachine = 0x80000002u;

inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorMoreData = 234;

inline constexpr quint32 kRegSz = 1;
inline constexpr quint32 kRegExpandSz = 2;
inline constexpr quint32 kRegBinary = 3;
inline constexpr quint32 kRegDword = 4;

// Read access to the system registry, in the shape of its ANSI functions: names go in as
// single-byte text, values come back as bytes with their type and size.
class Registry {
public:
    virtual ~Registry() = default;
    // Opens subKey below root; 0 and an open handle in *result on success.
    virtual long openKey(RegistryKey root, const QByteArray& subKey, quint32 options,
                         quint32 access, RegistryKey* result) = 0;
    // Reads a value into data, which holds *size bytes. On success returns 0 and sets *type and
    // *size to the value's type and byte count; a value larger than the buffer fails with
    // kErrorMoreData and *size set to the size it needs.
    virtual long queryValue(RegistryKey key, const QByteArray& valueName, quint32* type,
                            unsigned char* data, quint32* size) = 0;
    virtual long closeKey(RegistryKey key) = 0;
};

// The machine's registry. On Windows the system's own; elsewhere a small table that answers
// the system-information tool's path with the first such tool found on PATH.
class SystemRegistry final : public Registry {
public:
    long openKey(RegistryKey root, const QByteArray& subKey, quint32 options, quint32 access,
                 RegistryKey* result) override;
    long queryValue(RegistryKey key, const QByteArray& valueName, quint32* type,
                    unsigned char* data, quint32* size) override;
    long closeKey(RegistryKey key) override;
};

} // namespace platform
