#pragma once

#include "base/text.h"
#include "updater/file_names.h"
#include "updater/updater_ports.h"

namespace qb {

// Bit 11 of an entry's flags: its name is UTF-8. Bit 0: it is encrypted.
constexpr uint16_t kZipFlagUtf8Name = 0x0800;
constexpr uint16_t kZipFlagEncrypted = 0x0001;
constexpr uint16_t kZipMethodStored = 0;
constexpr uint16_t kZipMethodDeflated = 8;

// An entry's name decoded as the file system will see it and checked against the folder it
// is to be unpacked into.
CheckedPath CheckEntryName(const ArchiveEntry& entry, const NameDecoder& decoder);

enum class UnpackResult {
    Ok,
    CannotOpen,   // not a ZIP archive at all
    Refused,      // an entry would land outside the folder, or cannot be unpacked faithfully
    Damaged,      // a CRC mismatch, a short or broken entry, a read error
    WriteFailed,  // the folder could not take a file
};

struct UnpackOutcome {
    UnpackResult result = UnpackResult::Ok;
    Text entryName;  // the entry at fault, in code page 936 where it could be decoded
    Text reason;     // for the log
};

// Unpacks the whole archive into the folder, or reports why not. Every name, method and
// flag is checked before the first byte is written, so a refused archive writes nothing;
// then every entry must read back exactly its declared size with a good CRC.
UnpackOutcome UnpackVerified(ArchiveReader& archive, FileSystem& fileSystem, const NameDecoder& decoder,
                             const Text& archivePath, const Text& folder);

}  // namespace qb
