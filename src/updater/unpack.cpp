#include "updater/unpack.h"

#include <set>
#include <vector>

namespace qb {

namespace {

constexpr size_t kReadBufferSize = 256 * 1024;

struct PlannedEntry {
    CheckedPath path;
    uint64_t size = 0;
};

UnpackOutcome Fail(UnpackResult result, Text entryName, std::string_view reason) {
    return {result, std::move(entryName), Text(reason)};
}

// What the log shows of a name: its code page 936 form, or the stored bytes when it has none.
Text ShownName(const ArchiveEntry& entry, const NameDecoder& decoder) {
    if (entry.flags & kZipFlagUtf8Name) {
        if (auto decoded = decoder.Utf8ToCp936(entry.rawName)) return *decoded;
    }
    return entry.rawName;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

// Each folder is made once per archive: asking the system again for every file of a folder
// costs two path lookups a file.
bool CreateFolders(FileSystem& fileSystem, const Text& folder, const std::vector<Text>& components, size_t count,
                   std::set<Text>& made) {
    for (size_t depth = 1; depth <= count; ++depth) {
        Text path = JoinComponents(folder, components, depth);
        if (made.count(path)) continue;
        if (!fileSystem.CreateFolder(path)) return false;
        made.insert(std::move(path));
    }
    return true;
}

// One entry, opened, read to its end and closed, every outcome looked at.
UnpackOutcome UnpackEntry(ArchiveReader& archive, FileSystem& fileSystem, const Text& target, const Text& name,
                          uint64_t declaredSize, std::vector<char>& buffer) {
    std::unique_ptr<OutputFile> output = fileSystem.CreateOutputFile(target);
    if (!output) return Fail(UnpackResult::WriteFailed, name, "无法创建文件");
    if (!archive.OpenEntry()) {
        (void)output->Close();  // the entry failed first; its file is removed with the folder
        return Fail(UnpackResult::Damaged, name, "无法打开压缩项");
    }
    uint64_t written = 0;
    UnpackOutcome outcome;
    for (;;) {
        const int64_t read = archive.ReadEntry(buffer.data(), buffer.size());
        if (read < 0) {
            outcome = Fail(UnpackResult::Damaged, name, "数据损坏，读取失败");
            break;
        }
        if (read == 0) break;
        // More than declared is as wrong as less, and must not fill the disk first.
        if (static_cast<uint64_t>(read) > declaredSize - written) {
            outcome = Fail(UnpackResult::Damaged, name, "数据比声明的长度长");
            break;
        }
        if (!output->Write(buffer.data(), static_cast<size_t>(read))) {
            outcome = Fail(UnpackResult::WriteFailed, name, "写入文件失败");
            break;
        }
        written += static_cast<uint64_t>(read);
    }
    const EntryClose closed = archive.CloseEntry();
    const bool outputClosed = output->Close();
    if (outcome.result != UnpackResult::Ok) return outcome;
    if (!outputClosed) return Fail(UnpackResult::WriteFailed, name, "写入文件失败");
    // The CRC is only checked once every declared byte was read, so the length comes first.
    if (written != declaredSize) return Fail(UnpackResult::Damaged, name, "数据不完整");
    if (closed == EntryClose::CrcError) return Fail(UnpackResult::Damaged, name, "CRC校验错误");
    if (closed != EntryClose::Ok) return Fail(UnpackResult::Damaged, name, "压缩项无法关闭");
    return {};
}

}  // namespace

CheckedPath CheckEntryName(const ArchiveEntry& entry, const NameDecoder& decoder) {
    if (entry.flags & kZipFlagUtf8Name) {
        const std::optional<Text> decoded = decoder.Utf8ToCp936(entry.rawName);
        if (!decoded) {
            CheckedPath path;
            path.fault = NameFault::BadEncoding;
            return path;
        }
        return CheckRelativePath(*decoded);
    }
    return CheckRelativePath(entry.rawName);
}

UnpackOutcome UnpackVerified(ArchiveReader& archive, FileSystem& fileSystem, const NameDecoder& decoder,
                             const Text& archivePath, const Text& folder) {
    if (!archive.Open(archivePath)) return Fail(UnpackResult::CannotOpen, Text(), "不是有效的压缩文件");
    const std::optional<Text> folderFull = fileSystem.FullPath(folder);
    if (!folderFull) {
        archive.Close();
        return Fail(UnpackResult::WriteFailed, Text(), "解压目录无效");
    }
    const Text inside = EndsWithBackslash(*folderFull) ? *folderFull : *folderFull + "\\";

    // First every entry is looked at: one bad name refuses the whole archive.
    std::vector<PlannedEntry> plan;
    ArchiveStep step = archive.First();
    for (; step == ArchiveStep::Entry; step = archive.Next()) {
        ArchiveEntry entry;
        if (!archive.ReadEntryInfo(entry)) {
            archive.Close();
            return Fail(UnpackResult::Damaged, Text(), "目录记录损坏");
        }
        const Text shown = ShownName(entry, decoder);
        PlannedEntry planned{CheckEntryName(entry, decoder), entry.uncompressedSize};
        if (planned.path.fault != NameFault::None) {
            archive.Close();
            return Fail(UnpackResult::Refused, shown, DescribeNameFault(planned.path.fault));
        }
        if (entry.flags & kZipFlagEncrypted) {
            archive.Close();
            return Fail(UnpackResult::Refused, shown, "加密的压缩项");
        }
        if (!planned.path.isFolder && entry.method != kZipMethodStored && entry.method != kZipMethodDeflated) {
            archive.Close();
            return Fail(UnpackResult::Refused, shown, "不支持的压缩方式");
        }
        // A second look, at what the system makes of the joined path.
        const std::optional<Text> full = fileSystem.FullPath(JoinComponents(folder, planned.path.components));
        if (!full || !StartsWith(*full, inside) || full->size() == inside.size()) {
            archive.Close();
            return Fail(UnpackResult::Refused, shown, DescribeNameFault(NameFault::Outside));
        }
        plan.push_back(std::move(planned));
    }
    if (step == ArchiveStep::Error) {
        archive.Close();
        return Fail(UnpackResult::Damaged, Text(), "目录记录损坏");
    }

    std::vector<char> buffer(kReadBufferSize);
    std::set<Text> made;
    step = archive.First();
    for (const PlannedEntry& planned : plan) {
        const Text name = JoinComponents(Text(), planned.path.components);
        if (step != ArchiveStep::Entry) {
            archive.Close();
            return Fail(UnpackResult::Damaged, name, "目录记录损坏");
        }
        const std::vector<Text>& components = planned.path.components;
        if (planned.path.isFolder) {
            if (!CreateFolders(fileSystem, folder, components, components.size(), made)) {
                archive.Close();
                return Fail(UnpackResult::WriteFailed, name, "无法创建目录");
            }
        } else {
            if (!CreateFolders(fileSystem, folder, components, components.size() - 1, made)) {
                archive.Close();
                return Fail(UnpackResult::WriteFailed, name, "无法创建目录");
            }
            UnpackOutcome outcome =
                UnpackEntry(archive, fileSystem, JoinComponents(folder, components), name, planned.size, buffer);
            if (outcome.result != UnpackResult::Ok) {
                archive.Close();
                return outcome;
            }
        }
        step = archive.Next();
    }
    archive.Close();
    return {};
}

}  // namespace qb
