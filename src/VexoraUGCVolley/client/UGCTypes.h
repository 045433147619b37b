#pragma once

#include <QString>

namespace vexora {

// Length of a video: 5 x (case index + 1) seconds.
enum class UGCDuration { five, ten, fifteen };

constexpr int seconds(UGCDuration duration) { return 5 * (int(duration) + 1); }

enum class UGCPlatform { tiktok, instagram };

// The key of accounts and locks ("tiktok", "instagram").
inline QString accountKey(UGCPlatform platform) {
    return platform == UGCPlatform::tiktok ? QStringLiteral("tiktok") : QStringLiteral("instagram");
}

// The channel sent in a publish target ("tiktok", "instagram_reels").
inline QString publishKey(UGCPlatform platform) {
    return platform == UGCPlatform::tiktok ? QStringLiteral("tiktok") : QStringLiteral("instagram_reels");
}

}  // namespace vexora
