#include "upgrade/updater_deploy.h"

#include "upgrade/handoff.h"

namespace qb {

namespace {

void WriteInPlace(DeployFiles& files, const Text& target, std::string_view image) {
    const Text temporary = target + ".new";
    if (files.WriteNew(temporary, image) && files.MoveOver(temporary, target)) return;
    files.Remove(temporary);  // a half-written image must not linger either
}

}  // namespace

void DeployUpdater(DeployFiles& files, const Text& runDirectory, std::string_view image) {
    const Text updater = UpdaterPath(runDirectory);
    if (files.Exists(UpgradeFolder(runDirectory))) {
        if (files.Exists(updater)) {
            const std::optional<std::string> present = files.ReadWhole(updater);
            if (present && *present == image) return;
        }
    } else {
        files.MakeFolder("升级文件");
    }
    WriteInPlace(files, updater, image);
}

}  // namespace qb
