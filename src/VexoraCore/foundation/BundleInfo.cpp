#include "foundation/BundleInfo.h"

#include "BuildConfig.h"

namespace vexora {

namespace {

std::optional<QString> nonEmpty(const char* text) {
    QString value = QString::fromUtf8(text);
    if (value.isEmpty()) return std::nullopt;
    return value;
}

std::optional<BundleInfo>& standInBundle() {
    static std::optional<BundleInfo> standIn;
    return standIn;
}

}  // namespace

BundleInfo BundleInfo::compiled() {
    return BundleInfo{nonEmpty(VEXORA_BUNDLE_ID), QString::fromUtf8(VEXORA_VERSION), nonEmpty(VEXORA_FEED_URL)};
}

BundleInfo BundleInfo::main() { return standInBundle().value_or(compiled()); }

void BundleInfo::setMainForTesting(std::optional<BundleInfo> standIn) { standInBundle() = std::move(standIn); }

QString builtInWebOrigin() { return QString::fromUtf8(VEXORA_WEB_ORIGIN); }

QString builtInDownloadHost() { return QString::fromUtf8(VEXORA_DOWNLOAD_HOST); }

}  // namespace vexora
