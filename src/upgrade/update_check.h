#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/text.h"
#include "upgrade/manifest_decode.h"
#include "upgrade/manifest_document.h"

namespace qb {

inline constexpr uint32_t kNoNewVersionPauseMs = 3000;
inline constexpr uint32_t kUnreachableBoxMs = 3000;

// What an update check needs from the system and the rest of the program.
class UpdateCheckHost {
public:
    virtual ~UpdateCheckHost() = default;
    virtual void SetCaption(const Text& caption) = 0;
    virtual void DeployUpdater() = 0;
    virtual std::string HttpGetFile(const Text& url) = 0;
    virtual CodePageConverter& Converter() = 0;
    // "未接通升级服务器", closing itself after kUnreachableBoxMs.
    virtual void ShowUnreachableBox() = 0;
    // The prompt "版本升级"; true only for OK.
    virtual bool ConfirmUpgrade(const Text& text) = 0;
    // Starts the updater and ends the program: never returns.
    virtual void StartUpdater() = 0;
    virtual void Sleep(uint32_t ms) = 0;
    virtual void PumpPendingMessages() = 0;
};

Text ManifestUrl(std::string_view host);

// "发现有新版本可以更新！\r\n\r\n版本号：" version "\r\n下载说明：" notes.
Text UpgradePromptText(const Text& version, const Text& notes);

// What the program tells the check about itself.
struct UpdateCheckSettings {
    std::string_view serverHost;
    double programVersion;
    Text standardCaption;  // set again when the check ends
};

// The handler of "检测升级".
void CheckForUpdate(UpdateCheckHost& host, ManifestDocument& document, const UpdateCheckSettings& settings);

}  // namespace qb
