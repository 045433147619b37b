#include "panel/UGCPublishTexts.h"

#include <QStringList>

namespace vexora::UGCPublishTexts {

QString platformName(const QString& platform) {
    if (platform == QLatin1String("tiktok")) return QStringLiteral("TikTok");
    if (platform == QLatin1String("instagram_reels")) return QStringLiteral("Instagram Reels");
    return platform;
}

QString outcome(const PublishResult& result) {
    return result.didFail() ? QStringLiteral("Publish failed") : QStringLiteral("Publish succeeded");
}

QString summary(const QList<PublishResult>& results) {
    QStringList parts;
    for (const PublishResult& result : results) parts << platformName(result.platform) + QStringLiteral(": ") + outcome(result);
    return parts.join(QStringLiteral(" · "));
}

}  // namespace vexora::UGCPublishTexts
