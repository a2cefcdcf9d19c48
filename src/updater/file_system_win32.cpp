#include "updater/file_system_win32.h"

#include <windows.h>

namespace qb {

namespace {

constexpr UINT kCodePage936 = 936;

class Win32OutputFile final : public OutputFile {
public:
    explicit Win32OutputFile(HANDLE file) : file_(file) {}
    ~Win32OutputFile() override { (void)Close(); }
    Win32OutputFile(const Win32OutputFile&) = delete;
    Win32OutputFile& operator=(const Win32OutputFile&) = delete;

    bool Write(const char* data, size_t size) override {
        while (size > 0) {
            const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!WriteFile(file_, data, chunk, &written, nullptr) || written == 0) return false;
            data += written;
            size -= written;
        }
        return true;
    }
    bool Close() override {
        if (file_ == INVALID_HANDLE_VALUE) return true;
        const bool closed = CloseHandle(file_) != FALSE;
        file_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE file_;
};

}  // namespace

PathKind Win32FileSystem::Kind(const Text& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

// No MOVEFILE_COPY_ALLOWED: a copy across volumes would not be the quick, whole step the
// roll-back counts on.
bool Win32FileSystem::MoveFileTo(const Text& from, const Text& to) {
    return MoveFileExA(from.c_str(), to.c_str(), 0) != FALSE;
}

bool Win32FileSystem::CreateFolder(const Text& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return true;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::RemoveFile(const Text& path) { return DeleteFileA(path.c_str()) != FALSE; }

bool Win32FileSystem::CopyFileOver(const Text& from, const Text& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

std::vector<FolderEntry> Win32FileSystem::List(const Text& folder) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        FolderEntry entry;
        entry.name = found.cFileName;
        entry.isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.isLink = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        entries.push_back(std::move(entry));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return entries;
}

bool Win32FileSystem::RemoveFolder(const Text& path) { return RemoveDirectoryA(path.c_str()) != FALSE; }

std::unique_ptr<OutputFile> Win32FileSystem::CreateOutputFile(const Text& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32OutputFile>(file);
}

std::optional<Text> Win32FileSystem::FullPath(const Text& path) {
    Text full(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return std::nullopt;
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length + 1);
    }
}

std::optional<Text> Win32NameDecoder::Utf8ToCp936(std::string_view utf8) const {
    if (utf8.empty()) return Text();
    const int size = static_cast<int>(utf8.size());
    const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (wideLength <= 0) return std::nullopt;
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), wideLength);
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(kCodePage936, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, nullptr, 0,
                                           nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return std::nullopt;
    Text narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(kCodePage936, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, narrow.data(), length, nullptr,
                        &usedDefault);
    if (usedDefault) return std::nullopt;
    return narrow;
}

}  // namespace qb
