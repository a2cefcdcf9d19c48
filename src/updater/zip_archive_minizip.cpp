#include "updater/zip_archive_minizip.h"

#include <minizip/unzip.h>

#include <climits>

namespace qb {

namespace {

ArchiveStep StepFrom(int result) {
    if (result == UNZ_OK) return ArchiveStep::Entry;
    if (result == UNZ_END_OF_LIST_OF_FILE) return ArchiveStep::End;
    return ArchiveStep::Error;
}

}  // namespace

MinizipArchive::~MinizipArchive() { Close(); }

bool MinizipArchive::Open(const Text& path) {
    Close();
    file_ = unzOpen64(path.c_str());
    return file_ != nullptr;
}

void MinizipArchive::Close() {
    if (file_) (void)unzClose(static_cast<unzFile>(file_));  // nothing was written through it
    file_ = nullptr;
}

ArchiveStep MinizipArchive::First() {
    if (!file_) return ArchiveStep::Error;
    unz_global_info64 info;
    if (unzGetGlobalInfo64(static_cast<unzFile>(file_), &info) != UNZ_OK) return ArchiveStep::Error;
    if (info.number_entry == 0) return ArchiveStep::End;
    return StepFrom(unzGoToFirstFile(static_cast<unzFile>(file_)));
}

ArchiveStep MinizipArchive::Next() { return file_ ? StepFrom(unzGoToNextFile(static_cast<unzFile>(file_))) : ArchiveStep::Error; }

bool MinizipArchive::ReadEntryInfo(ArchiveEntry& entry) {
    unz_file_info64 info;
    if (unzGetCurrentFileInfo64(static_cast<unzFile>(file_), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
        return false;
    }
    Text name(info.size_filename, '\0');
    if (info.size_filename > 0 &&
        unzGetCurrentFileInfo64(static_cast<unzFile>(file_), &info, name.data(), static_cast<uLong>(name.size()),
                                nullptr, 0, nullptr, 0) != UNZ_OK) {
        return false;
    }
    entry.rawName = std::move(name);
    entry.flags = static_cast<uint16_t>(info.flag);
    entry.method = static_cast<uint16_t>(info.compression_method);
    entry.uncompressedSize = info.uncompressed_size;
    return true;
}

bool MinizipArchive::OpenEntry() { return unzOpenCurrentFile(static_cast<unzFile>(file_)) == UNZ_OK; }

int64_t MinizipArchive::ReadEntry(char* buffer, size_t size) {
    const unsigned chunk = size > static_cast<size_t>(INT_MAX) ? static_cast<unsigned>(INT_MAX) : static_cast<unsigned>(size);
    return unzReadCurrentFile(static_cast<unzFile>(file_), buffer, chunk);
}

EntryClose MinizipArchive::CloseEntry() {
    const int result = unzCloseCurrentFile(static_cast<unzFile>(file_));
    if (result == UNZ_OK) return EntryClose::Ok;
    if (result == UNZ_CRCERROR) return EntryClose::CrcError;
    return EntryClose::Error;
}

}  // namespace qb
