#pragma once

#include "client/UGCHistoryRecords.h"

#include <QString>

// How a publish result is worded wherever the app reports one.
namespace vexora::UGCPublishTexts {

// "TikTok", "Instagram Reels", otherwise the platform value as it is.
QString platformName(const QString& platform);
// "Publish succeeded" or "Publish failed".
QString outcome(const PublishResult& result);
// Every result on one line: "TikTok: Publish succeeded · Instagram Reels: Publish failed".
QString summary(const QList<PublishResult>& results);

}  // namespace vexora::UGCPublishTexts
