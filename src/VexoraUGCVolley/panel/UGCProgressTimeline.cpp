#include "panel/UGCProgressTimeline.h"

#include "panel/UGCStepTexts.h"
#include "ui/PanelWidgets.h"
#include "ui/SymbolIcon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vexora {

namespace {

struct StageText {
    const char* step;
    const char* label;
    const char* iconName;
};

constexpr StageText stageTexts[] = {
    {"script", "Script", "text.quote"},
    {"avatar", "Avatar", "person.crop.circle.fill"},
    {"video", "Video", "video.fill"},
    {"publishing", "Publish", "paperplane.fill"},
};

// How many stages lie behind the step, and which one it is working on (none while idle, once
// complete, and on an error, which names no stage).
std::pair<int, std::optional<int>> position(UGCStep step) {
    switch (step) {
    case UGCStep::script: return {0, 0};
    case UGCStep::avatar: return {1, 1};
    case UGCStep::video:
    case UGCStep::polling: return {2, 2};
    case UGCStep::publishing: return {3, 3};
    case UGCStep::complete: return {4, std::nullopt};
    case UGCStep::idle:
    case UGCStep::loadingContext:
    case UGCStep::error: return {0, std::nullopt};
    }
    return {0, std::nullopt};
}

}  // namespace

UGCProgressTimeline::UGCProgressTimeline(QWidget* parent) : QWidget(parent) {
    using namespace PanelWidgets;
    setObjectName(QStringLiteral("ugc.progress.timeline"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 4, 0, 4);
    row->setSpacing(6);
    for (std::size_t index = 0; index < stages_.size(); ++index) {
        Stage& stage = stages_[index];
        const StageText& text = stageTexts[index];
        stage.iconName = QString::fromLatin1(text.iconName);
        stage.view = new QWidget;
        stage.view->setObjectName(QStringLiteral("ugc.progress.stage.") + QLatin1String(text.step));
        stage.view->setAccessibleName(QString::fromLatin1(text.label));
        auto* column = new QVBoxLayout(stage.view);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(3);
        stage.icon = new QLabel;
        stage.icon->setFixedSize(24, 24);
        stage.label = label(QString::fromLatin1(text.label), QStringLiteral("secondary"));
        stage.label->setWordWrap(false);
        column->addWidget(stage.icon, 0, Qt::AlignHCenter);
        column->addWidget(stage.label, 0, Qt::AlignHCenter);
        if (index > 0) {
            // A hairline at the height of the icons' centres.
            auto* connector = new QWidget;
            auto* lineColumn = new QVBoxLayout(connector);
            lineColumn->setContentsMargins(0, 12, 0, 0);
            auto* line = new QFrame;
            line->setProperty("role", QStringLiteral("divider"));
            lineColumn->addWidget(line);
            lineColumn->addStretch();
            row->addWidget(connector, 1);
        }
        row->addWidget(stage.view);
    }
    setStep(UGCStep::idle);
}

void UGCProgressTimeline::setStep(UGCStep step) {
    if (shownStep_ == step) return;
    shownStep_ = step;
    setAccessibleName(QStringLiteral("Progress ") + UGCStepTexts::progressPhase(step));
    const auto [done, current] = position(step);
    for (int index = 0; index < int(stages_.size()); ++index) {
        Stage& stage = stages_[std::size_t(index)];
        const QString progress = index < done         ? QStringLiteral("done")
                                 : index == current   ? QStringLiteral("current")
                                                      : QStringLiteral("pending");
        if (stage.view->property("progress").toString() == progress) continue;
        stage.view->setProperty("progress", progress);
        const QColor colour = progress == QLatin1String("done")      ? PanelWidgets::Colour::success
                              : progress == QLatin1String("current") ? PanelWidgets::Colour::accent
                                                                     : PanelWidgets::Colour::secondaryText;
        stage.icon->setPixmap(SymbolIcon::pixmap(stage.iconName, 24, colour, devicePixelRatioF()));
        PanelWidgets::setRole(stage.label, progress == QLatin1String("current") ? QStringLiteral("badge")
                                           : progress == QLatin1String("done")  ? QStringLiteral("caption")
                                                                                : QStringLiteral("secondary"));
    }
}

}  // namespace vexora
