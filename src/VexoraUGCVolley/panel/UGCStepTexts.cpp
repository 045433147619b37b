#include "panel/UGCStepTexts.h"

namespace vexora::UGCStepTexts {

QString headerSubtitle(UGCStep step) {
    switch (step) {
    case UGCStep::idle: return QStringLiteral("Native UGC controls");
    case UGCStep::loadingContext: return QStringLiteral("Loading workspace");
    case UGCStep::script: return QStringLiteral("Writing script");
    case UGCStep::avatar: return QStringLiteral("Creating avatar");
    case UGCStep::video:
    case UGCStep::polling: return QStringLiteral("Rendering video");
    case UGCStep::publishing: return QStringLiteral("Publishing");
    case UGCStep::complete: return QStringLiteral("Ready");
    case UGCStep::error: return QStringLiteral("Needs attention");
    }
    return {};
}

std::optional<QString> statusLine(UGCStep step) {
    switch (step) {
    case UGCStep::idle: return std::nullopt;
    case UGCStep::loadingContext: return QStringLiteral("Loading workspace context...");
    case UGCStep::script: return QStringLiteral("Writing the UGC script...");
    case UGCStep::avatar: return QStringLiteral("Preparing avatar...");
    case UGCStep::video:
    case UGCStep::polling: return QStringLiteral("Rendering video...");
    case UGCStep::publishing: return QStringLiteral("Publishing to connected accounts...");
    case UGCStep::complete: return QStringLiteral("UGC is ready.");
    case UGCStep::error: return QStringLiteral("The last operation failed.");
    }
    return std::nullopt;
}

QString badgeTitle(UGCStep step) {
    switch (step) {
    case UGCStep::idle: return QStringLiteral("Idle");
    case UGCStep::loadingContext: return QStringLiteral("Loading");
    case UGCStep::script: return QStringLiteral("Script");
    case UGCStep::avatar: return QStringLiteral("Avatar");
    case UGCStep::video:
    case UGCStep::polling: return QStringLiteral("Video");
    case UGCStep::publishing: return QStringLiteral("Publishing");
    case UGCStep::complete: return QStringLiteral("Ready");
    case UGCStep::error: return QStringLiteral("Error");
    }
    return {};
}

QString progressPhase(UGCStep step) {
    switch (step) {
    case UGCStep::idle:
    case UGCStep::loadingContext: return QStringLiteral("idle");
    case UGCStep::script: return QStringLiteral("writing script");
    case UGCStep::avatar: return QStringLiteral("creating avatar");
    case UGCStep::video:
    case UGCStep::polling: return QStringLiteral("rendering video");
    case UGCStep::publishing: return QStringLiteral("publishing");
    case UGCStep::complete: return QStringLiteral("complete");
    case UGCStep::error: return QStringLiteral("error");
    }
    return {};
}

bool isGenerating(UGCStep step) {
    return step == UGCStep::script || step == UGCStep::avatar || step == UGCStep::video || step == UGCStep::polling;
}

}  // namespace vexora::UGCStepTexts
