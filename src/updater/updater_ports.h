#pragma once

#include "base/win32_values.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace qb {

// The window: its log and the row of each task.
enum class RowControl { Name, Size, Progress, Speed, Operation, Separator };

class UpdaterView {
public:
    virtual ~UpdaterView() = default;
    // Appends at the end of the log and scrolls it into view.
    virtual void AppendLog(std::string_view text) = 0;
    virtual Text LogText() = 0;
    // Copies the hidden row templates into the row of this task.
    virtual bool BuildTaskRow(int task) = 0;
    virtual void SetRowText(int task, RowControl control, std::string_view text) = 0;
    virtual void ShowRowControl(int task, RowControl control, bool shown) = 0;
    virtual void SetRowProgress(int task, int percent) = 0;
};

// Events of a transfer, by the codes the row and the log know them by.
namespace transfer {
constexpr int kStarted = 3;
constexpr int kEnded = 4;
constexpr int kDataRange = 6;
constexpr int kThreadContinues = 7;
constexpr int kThreadEndedNormally = 8;
constexpr int kThreadEndedAbnormally = 9;
constexpr int kDataReceived = 16;
constexpr int kSameNameExists = 18;
}  // namespace transfer

using TaskHandle = uintptr_t;  // 0 is no task

struct DownloadTask {
    Text address;
    Text destination;
    Text displayName;
};

// Downloads one address into one file in the background and reports 3 at the start, 16
// about once a second, then 4 when the whole body has arrived or 9 when it failed or ended
// short. Once stopped it reports nothing more.
class DownloadEngine {
public:
    virtual ~DownloadEngine() = default;
    // 0 when the task could not even be started.
    virtual TaskHandle Start(const DownloadTask& task) = 0;
    virtual std::optional<uint64_t> TotalSize() = 0;
    virtual uint64_t Received() = 0;
    // Bytes since the previous call; the count starts again from here.
    virtual uint64_t TakeReceivedSinceLastQuery() = 0;
    virtual void Stop() = 0;
};

struct FolderEntry {
    Text name;
    bool isFolder = false;
    bool isLink = false;  // a junction or symbolic link: removed, never followed
};

class OutputFile {
public:
    virtual ~OutputFile() = default;
    virtual bool Write(const char* data, size_t size) = 0;
    virtual bool Close() = 0;
};

enum class PathKind { Missing, File, Folder };

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual PathKind Kind(const Text& path) = 0;
    // A rename on the same volume; fails when the target exists, or when another program
    // holds the file without sharing.
    virtual bool MoveFileTo(const Text& from, const Text& to) = 0;
    // True when a folder is there afterwards, made now or before.
    virtual bool CreateFolder(const Text& path) = 0;
    virtual bool RemoveFile(const Text& path) = 0;
    // Replaces a file that is there.
    virtual bool CopyFileOver(const Text& from, const Text& to) = 0;
    // Every entry of a folder given with its trailing backslash, "." and ".." included, as
    // FindFirstFileA lists "*.*"; empty when it cannot be listed.
    virtual std::vector<FolderEntry> List(const Text& folder) = 0;
    virtual bool RemoveFolder(const Text& path) = 0;
    // Created or truncated; null when that fails.
    virtual std::unique_ptr<OutputFile> CreateOutputFile(const Text& path) = 0;
    // The absolute form the system resolves a path to.
    virtual std::optional<Text> FullPath(const Text& path) = 0;
};

struct ArchiveEntry {
    Text rawName;  // as stored: UTF-8 when bit 11 of the flags is set, code page 936 otherwise
    uint16_t flags = 0;
    uint16_t method = 0;
    uint64_t uncompressedSize = 0;
};

enum class ArchiveStep { Entry, End, Error };
enum class EntryClose { Ok, CrcError, Error };

// A ZIP archive read entry by entry, as minizip's unzip interface does.
class ArchiveReader {
public:
    virtual ~ArchiveReader() = default;
    virtual bool Open(const Text& path) = 0;
    virtual void Close() = 0;
    virtual ArchiveStep First() = 0;
    virtual ArchiveStep Next() = 0;
    virtual bool ReadEntryInfo(ArchiveEntry& entry) = 0;
    virtual bool OpenEntry() = 0;
    // Bytes read, 0 at the end, negative on an error.
    virtual int64_t ReadEntry(char* buffer, size_t size) = 0;
    virtual EntryClose CloseEntry() = 0;
};

class NameDecoder {
public:
    virtual ~NameDecoder() = default;
    // Empty when the bytes are not UTF-8 or a character has no code page 936 form.
    virtual std::optional<Text> Utf8ToCp936(std::string_view utf8) const = 0;
};

class UpdaterShell {
public:
    virtual ~UpdaterShell() = default;
    // A message box with no owner; the answer.
    virtual int ShowMessage(std::string_view text, std::string_view caption, uint32_t style) = 0;
    virtual bool RunProgram(const Text& commandLine) = 0;
    virtual void PumpPendingMessages() = 0;
    // Ends the process; a fake returns, so callers return right after.
    virtual void EndUpdater(int code) = 0;
};

}  // namespace qb
