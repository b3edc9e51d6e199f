#pragma once

#include "platform/ProgramStarter.h"
#include "platform/Registry.h"

#include <QByteArray>
#include <QString>

// Finding and starting the system's system-information tool, the About box's second button.
namespace sysinfo {

// The rights asked for when a key is opened: query, set, create sub-key, enumerate, notify,
// create link and read control. Only a read follows, but the lookup has always asked for these.
inline constexpr quint32 kKeyAccess = 0x2003F;
// The bytes read of one value; a longer value is not read at all.
inline constexpr quint32 kValueBufferSize = 1024;

// Where the registry keeps the tool: its full path, or else the folder it lies in.
inline constexpr char kToolKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr char kToolValue[] = "PATH";
inline constexpr char kFolderKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr char kFolderValue[] = "MSINFO";
inline constexpr char kToolFileName[] = "\\MSINFO32.EXE";

// How the reading of one value ended.
enum class Lookup {
    Read,    // keyVal holds the value (or, for a type other than text or number, what it held)
    Missing, // no such key or value, or a value too long to read; keyVal is empty
    Empty,   // a value without any bytes; keyVal is empty and the whole search ends
};

// Reads one value of key keyName below root as text. A text value loses one terminating NUL;
// a number value reads "&h" and its hexadecimal digits. The key is closed in every case.
Lookup readKeyValue(platform::Registry& registry, platform::RegistryKey root,
                    const QByteArray& keyName, const QByteArray& valueName, QString& keyVal);

// True when readKeyValue read the value.
bool getKeyValue(platform::Registry& registry, platform::RegistryKey root,
                 const QByteArray& keyName, const QByteArray& valueName, QString& keyVal);

// Finds the tool (its path first, else its folder, where the file must exist) and starts it
// without waiting. False when it cannot be found or started.
bool startSysInfo(platform::Registry& registry, platform::ProgramStarter& programs);

} // namespace sysinfo
