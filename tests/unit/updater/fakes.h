#pragma once

#include <algorithm>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "updater/signature.h"
#include "updater/updater_ports.h"

namespace qb::test {

// Folders and files in memory, with the rules the system keeps: a folder is made inside an
// existing one, a file written or copied into an existing folder, only an empty folder
// removed. Paths are resolved as the system does, dots included. Every change is logged.
class MemoryFileSystem final : public FileSystem {
public:
    std::set<std::string> folders{"C:"};
    std::map<std::string, std::string> files;
    std::set<std::string> unwritable;  // resolved paths that refuse to be written
    std::set<std::string> held;        // files another program holds without sharing: never moved
    std::vector<std::string> changes;

    static std::string Resolve(const std::string& path) {
        std::vector<std::string> parts;
        std::string part;
        for (size_t i = 0; i <= path.size(); ++i) {
            if (i == path.size() || path[i] == '\\') {
                if (part == "..") {
                    if (parts.size() > 1) parts.pop_back();
                } else if (!part.empty() && part != ".") {
                    parts.push_back(part);
                }
                part.clear();
            } else {
                part += path[i];
            }
        }
        std::string resolved;
        for (const std::string& p : parts) resolved += (resolved.empty() ? "" : "\\") + p;
        return resolved;
    }
    static std::string Parent(const std::string& resolved) {
        const size_t slash = resolved.rfind('\\');
        return slash == std::string::npos ? std::string() : resolved.substr(0, slash);
    }

    void AddFolder(const std::string& path) { folders.insert(Resolve(path)); }
    void AddFile(const std::string& path, const std::string& data) { files[Resolve(path)] = data; }

    PathKind Kind(const Text& path) override {
        const std::string r = Resolve(path);
        if (folders.count(r)) return PathKind::Folder;
        return files.count(r) ? PathKind::File : PathKind::Missing;
    }
    bool MoveFileTo(const Text& from, const Text& to) override {
        const std::string source = Resolve(from), target = Resolve(to);
        if (!files.count(source) || held.count(source) || files.count(target) || folders.count(target) ||
            !folders.count(Parent(target))) {
            return false;
        }
        files[target] = std::move(files[source]);
        files.erase(source);
        changes.push_back("move " + source + " > " + target);
        return true;
    }
    bool CreateFolder(const Text& path) override {
        const std::string r = Resolve(path);
        if (folders.count(r)) return true;
        if (files.count(r) || !folders.count(Parent(r)) || unwritable.count(r)) return false;
        folders.insert(r);
        changes.push_back("mkdir " + r);
        return true;
    }
    bool RemoveFile(const Text& path) override {
        const std::string r = Resolve(path);
        if (held.count(r) || !files.erase(r)) return false;
        changes.push_back("delete " + r);
        return true;
    }
    bool CopyFileOver(const Text& from, const Text& to) override {
        const std::string source = Resolve(from), target = Resolve(to);
        if (!files.count(source) || !folders.count(Parent(target)) || unwritable.count(target) ||
            held.count(target)) {
            return false;
        }
        files[target] = files[source];
        changes.push_back("copy " + source + " > " + target);
        return true;
    }
    std::vector<FolderEntry> List(const Text& folder) override {
        const std::string r = Resolve(folder);
        if (!folders.count(r)) return {};
        std::vector<FolderEntry> entries{{".", true, false}, {"..", true, false}};
        for (const std::string& f : folders) {
            if (Parent(f) == r && f != r) entries.push_back({f.substr(r.size() + 1), true, links.count(f) > 0});
        }
        for (const auto& [f, data] : files) {
            if (Parent(f) == r) entries.push_back({f.substr(r.size() + 1), false, false});
        }
        return entries;
    }
    bool RemoveFolder(const Text& path) override {
        const std::string r = Resolve(path);
        if (!folders.count(r)) return false;
        if (links.erase(r)) {  // the link goes; what it points at stays
            folders.erase(r);
            changes.push_back("unlink " + r);
            return true;
        }
        for (const std::string& f : folders) {
            if (Parent(f) == r && f != r) return false;
        }
        for (const auto& [f, data] : files) {
            if (Parent(f) == r) return false;
        }
        folders.erase(r);
        changes.push_back("rmdir " + r);
        return true;
    }
    std::unique_ptr<OutputFile> CreateOutputFile(const Text& path) override;
    std::optional<Text> FullPath(const Text& path) override { return Resolve(path); }

    std::set<std::string> links;  // folders that are junctions: removed, never entered
};

class MemoryOutputFile final : public OutputFile {
public:
    MemoryOutputFile(MemoryFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    bool Write(const char* data, size_t size) override {
        if (fs_.unwritable.count(path_)) return false;
        fs_.files[path_].append(data, size);
        return true;
    }
    bool Close() override { return true; }

private:
    MemoryFileSystem& fs_;
    std::string path_;
};

inline std::unique_ptr<OutputFile> MemoryFileSystem::CreateOutputFile(const Text& path) {
    const std::string r = Resolve(path);
    if (!folders.count(Parent(r))) return nullptr;
    files[r].clear();
    changes.push_back("write " + r);
    return std::make_unique<MemoryOutputFile>(*this, r);
}

// Entries as minizip gives them back, damage included: a read that fails at some point, a
// CRC that only shows once every declared byte was read.
struct FakeEntry {
    std::string name;
    std::string data;
    uint16_t flags = 0;
    uint16_t method = 8;
    int64_t declaredSize = -1;  // the data's size unless given
    bool crcBad = false;
    size_t failReadAfter = std::string::npos;
};

class FakeArchive final : public ArchiveReader {
public:
    std::vector<FakeEntry> entries;
    bool opens = true;
    bool listBreaksAtEnd = false;
    int opened = 0;

    bool Open(const Text&) override {
        ++opened;
        return opens;
    }
    void Close() override { isOpen_ = false; }
    ArchiveStep First() override {
        index_ = 0;
        return Step();
    }
    ArchiveStep Next() override {
        ++index_;
        return Step();
    }
    bool ReadEntryInfo(ArchiveEntry& entry) override {
        const FakeEntry& e = entries[index_];
        entry.rawName = e.name;
        entry.flags = e.flags;
        entry.method = e.method;
        entry.uncompressedSize = e.declaredSize < 0 ? e.data.size() : static_cast<uint64_t>(e.declaredSize);
        return true;
    }
    bool OpenEntry() override {
        offset_ = 0;
        return true;
    }
    int64_t ReadEntry(char* buffer, size_t size) override {
        const FakeEntry& e = entries[index_];
        if (offset_ >= e.failReadAfter) return -3;  // Z_DATA_ERROR, as a broken deflate stream gives
        size_t n = std::min(size, e.data.size() - offset_);
        if (e.failReadAfter != std::string::npos) n = std::min(n, e.failReadAfter - offset_);
        std::copy_n(e.data.data() + offset_, n, buffer);
        offset_ += n;
        return static_cast<int64_t>(n);
    }
    EntryClose CloseEntry() override {
        const FakeEntry& e = entries[index_];
        const size_t declared = e.declaredSize < 0 ? e.data.size() : static_cast<size_t>(e.declaredSize);
        return e.crcBad && offset_ >= declared ? EntryClose::CrcError : EntryClose::Ok;
    }

private:
    ArchiveStep Step() const {
        if (index_ < entries.size()) return ArchiveStep::Entry;
        return listBreaksAtEnd ? ArchiveStep::Error : ArchiveStep::End;
    }
    size_t index_ = 0;
    size_t offset_ = 0;
    bool isOpen_ = false;
};

// UTF-8 to code page 936 for the few names the tests use.
class TableDecoder final : public NameDecoder {
public:
    std::map<std::string, std::string> table;
    std::optional<Text> Utf8ToCp936(std::string_view utf8) const override {
        std::string text(utf8);
        // Plain ASCII is the same in both.
        bool ascii = true;
        for (unsigned char c : text) ascii = ascii && c < 0x80;
        if (ascii) return text;
        const auto found = table.find(text);
        if (found == table.end()) return std::nullopt;
        return found->second;
    }
};

inline std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class RecordingView final : public UpdaterView {
public:
    std::string log;
    std::vector<std::string> changes;  // row changes, in order, with "log" marking each append
    std::vector<int> rowsBuilt;

    void AppendLog(std::string_view text) override {
        log += text;
        changes.push_back("log");
    }
    Text LogText() override { return log; }
    bool BuildTaskRow(int task) override {
        rowsBuilt.push_back(task);
        return true;
    }
    void SetRowText(int task, RowControl control, std::string_view text) override {
        changes.push_back(Name(task, control) + " = " + std::string(text));
    }
    void ShowRowControl(int task, RowControl control, bool shown) override {
        changes.push_back(Name(task, control) + (shown ? " shown" : " hidden"));
    }
    void SetRowProgress(int task, int percent) override {
        changes.push_back(Name(task, RowControl::Progress) + " at " + std::to_string(percent));
    }
    static std::string Name(int task, RowControl control) {
        static const char* names[] = {"name", "size", "bar", "speed", "operation", "line"};
        return names[static_cast<int>(control)] + std::to_string(task);
    }
};

class FakeEngine final : public DownloadEngine {
public:
    TaskHandle handle = 0x51420001;
    std::optional<uint64_t> total;
    uint64_t received = 0;
    uint64_t sinceLastQuery = 0;
    std::vector<DownloadTask> started;
    int stops = 0;

    TaskHandle Start(const DownloadTask& task) override {
        started.push_back(task);
        return handle;
    }
    std::optional<uint64_t> TotalSize() override { return total; }
    uint64_t Received() override { return received; }
    uint64_t TakeReceivedSinceLastQuery() override { return std::exchange(sinceLastQuery, 0); }
    void Stop() override { ++stops; }
};

// Unkeyed unless told: the updater as it was before releases were signed.
class FakeVerifier final : public SignatureVerifier {
public:
    bool keyed = false;
    VerifyResult result = VerifyResult::Valid;
    std::vector<std::pair<Text, ReleaseSignature>> calls;

    bool Keyed() const override { return keyed; }
    VerifyResult Verify(const Text& file, const ReleaseSignature& signature) override {
        calls.push_back({file, signature});
        return result;
    }
};

class FakeShell final : public UpdaterShell {
public:
    struct Box {
        std::string text, caption;
        uint32_t style;
    };
    std::vector<Box> boxes;
    std::deque<int> answers;  // OK unless given
    std::vector<std::string> started;
    std::vector<int> ends;
    int pumps = 0;

    int ShowMessage(std::string_view text, std::string_view caption, uint32_t style) override {
        boxes.push_back({std::string(text), std::string(caption), style});
        if (answers.empty()) return win::kIdOk;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool RunProgram(const Text& commandLine) override {
        started.push_back(commandLine);
        return true;
    }
    void PumpPendingMessages() override { ++pumps; }
    void EndUpdater(int code) override { ends.push_back(code); }
};

}  // namespace qb::test
