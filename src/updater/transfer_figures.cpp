#include "updater/transfer_figures.h"

#include <string>

namespace qb {

namespace {

// Hundredths of a thousand bytes, half up; integers throughout so that no binary fraction
// turns 2.045 into 2.04.
uint64_t HundredthsOfK(uint64_t bytes) { return bytes / 10 + (bytes % 10 >= 5 ? 1 : 0); }

}  // namespace

Text FormatSizeLabel(std::optional<uint64_t> totalBytes) {
    if (!totalBytes) return Text();
    const uint64_t hundredths = HundredthsOfK(*totalBytes);
    Text text = std::to_string(hundredths / 100);
    const uint64_t fraction = hundredths % 100;
    if (fraction != 0) {
        text += '.';
        text += static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0) text += static_cast<char>('0' + fraction % 10);
    }
    return text + "K";
}

Text FormatSpeedLabel(uint64_t bytesSinceLastQuery) {
    const uint64_t hundredths = HundredthsOfK(bytesSinceLastQuery);
    Text text = std::to_string(hundredths / 100);
    text += '.';
    text += static_cast<char>('0' + hundredths % 100 / 10);
    text += static_cast<char>('0' + hundredths % 10);
    return text + "KB/s";
}

int ProgressPercent(uint64_t receivedBytes, std::optional<uint64_t> totalBytes) {
    if (!totalBytes || *totalBytes == 0) return 0;
    if (receivedBytes >= *totalBytes) return 100;
    // received < total, so received * 100 cannot overflow while total < 2^64 / 100; above
    // that, dividing the total first loses nothing that a whole percent can show.
    if (*totalBytes <= UINT64_MAX / 100) return static_cast<int>(receivedBytes * 100 / *totalBytes);
    return static_cast<int>(receivedBytes / (*totalBytes / 100));
}

}  // namespace qb
