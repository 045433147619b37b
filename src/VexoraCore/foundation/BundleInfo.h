#pragma once

#include <QString>
#include <optional>

namespace vexora {

// What the running application bundle says about itself. The values are compiled in; tests
// may stand in for another bundle (QA or production) without rebuilding.
struct BundleInfo {
    std::optional<QString> identifier;
    QString shortVersion;            // "CFBundleShortVersionString"
    std::optional<QString> feedURL;  // "SUFeedURL"

    bool operator==(const BundleInfo&) const = default;

    static BundleInfo compiled();
    // The bundle the process runs as: the compiled one unless a stand-in is installed.
    static BundleInfo main();
    static void setMainForTesting(std::optional<BundleInfo> standIn);
};

// Compiled-in deployment values.
QString builtInWebOrigin();
QString builtInDownloadHost();

}  // namespace vexora
