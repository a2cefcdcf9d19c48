#pragma once

#include "updater/updater_ports.h"

namespace qb {

// The archive through minizip's unzip interface, with its 64-bit entry information.
class MinizipArchive final : public ArchiveReader {
public:
    ~MinizipArchive() override;
    bool Open(const Text& path) override;
    void Close() override;
    ArchiveStep First() override;
    ArchiveStep Next() override;
    bool ReadEntryInfo(ArchiveEntry& entry) override;
    bool OpenEntry() override;
    int64_t ReadEntry(char* buffer, size_t size) override;
    EntryClose CloseEntry() override;

private:
    void* file_ = nullptr;
};

}  // namespace qb
