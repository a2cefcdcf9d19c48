#include "upgrade/update_check.h"

#include "upgrade/version_compare.h"

namespace qb {

Text ManifestUrl(std::string_view host) { return "http://" + Text(host) + "/Quimbrel.xml"; }

Text UpgradePromptText(const Text& version, const Text& notes) {
    return "发现有新版本可以更新！\r\n\r\n版本号：" + version + "\r\n下载说明：" + notes;
}

void CheckForUpdate(UpdateCheckHost& host, ManifestDocument& document, const UpdateCheckSettings& settings) {
    host.SetCaption("检测升级中...");
    host.DeployUpdater();
    const std::string data = host.HttpGetFile(ManifestUrl(settings.serverHost));
    if (data.empty()) {
        host.ShowUnreachableBox();
        host.SetCaption(settings.standardCaption);
        return;  // no pumping on this path
    }
    (void)LoadFromBytes(document, DecodeManifestBytes(data, host.Converter()));
    if (IsNewerVersion(GetAttribute(document, kReleaseElementPath, kVersionAttribute), settings.programVersion)) {
        const Text prompt = UpgradePromptText(GetAttribute(document, kReleaseElementPath, kVersionAttribute),
                                              GetAttribute(document, kReleaseElementPath, kNotesAttribute));
        if (host.ConfirmUpgrade(prompt)) {
            host.StartUpdater();
            return;
        }
    } else {
        host.SetCaption("未检测到新版本");
        host.Sleep(kNoNewVersionPauseMs);
    }
    host.SetCaption(settings.standardCaption);
    host.PumpPendingMessages();
}

}  // namespace qb
