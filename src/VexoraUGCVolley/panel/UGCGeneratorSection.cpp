#include "panel/UGCGeneratorSection.h"

#include "panel/UGCAvatarControls.h"
#include "panel/UGCDurationAndLanguage.h"
#include "panel/UGCPublishPreview.h"
#include "panel/UGCSourceControls.h"
#include "panel/UGCStepTexts.h"
#include "panel/UGCTopicEditor.h"
#include "ui/CompactActionButton.h"
#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>

namespace vexora {

namespace {

QFrame* divider() {
    auto* line = new QFrame;
    line->setProperty("role", QStringLiteral("divider"));
    return line;
}

}  // namespace

UGCGeneratorSection::UGCGeneratorSection(UGCPanelContext& context, QWidget* parent)
    : QWidget(parent), state_(context.state) {
    using namespace PanelWidgets;
    PanelWidgets::identifySection(this, QStringLiteral("ugc.generator.section"), QStringLiteral("Create UGC"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);

    column->addWidget(label(QStringLiteral("Create UGC"), QStringLiteral("title")));
    topicEditor_ = new UGCTopicEditor(state_);
    column->addWidget(topicEditor_);
    sourceControls_ = new UGCSourceControls(state_);
    column->addWidget(sourceControls_);
    column->addWidget(divider());
    durationAndLanguage_ = new UGCDurationAndLanguage(state_);
    column->addWidget(durationAndLanguage_);
    column->addWidget(divider());
    avatarControls_ = new UGCAvatarControls(context);
    column->addWidget(avatarControls_);
    column->addWidget(divider());
    publishPreview_ = new UGCPublishPreview(state_);
    column->addWidget(publishPreview_);

    error_ = label({}, QStringLiteral("error"));
    error_->setObjectName(QStringLiteral("ugc.generator.error"));
    column->addWidget(error_);
    column->addWidget(makeFooter());
    refresh();
}

QWidget* UGCGeneratorSection::makeFooter() {
    using Prominence = CompactActionButton::Prominence;
    auto* footer = new QWidget;
    auto* row = new QHBoxLayout(footer);
    row->setContentsMargins(0, 4, 0, 0);
    row->setSpacing(8);
    estimate_ = PanelWidgets::label({}, QStringLiteral("secondary"));
    estimate_->setObjectName(QStringLiteral("ugc.generator.estimate"));
    row->addWidget(estimate_);
    row->addStretch();
    auto* reset = new CompactActionButton(QStringLiteral("Reset"), Prominence::secondary, 34);
    reset->setObjectName(QStringLiteral("ugc.generator.reset"));
    reset->setFixedWidth(92);
    connect(reset, &QPushButton::clicked, this, [this] { state_.resetPipeline(); });
    row->addWidget(reset);
    generate_ = new CompactActionButton({}, Prominence::primary, 34);
    generate_->setObjectName(QStringLiteral("ugc.generator.generate"));
    generate_->setFixedWidth(132);
    connect(generate_, &QPushButton::clicked, this, [this] { state_.generate(); });
    row->addWidget(generate_);

    // Ctrl+Return anywhere in the panel, the topic editor included, as long as Generate may run.
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, generate_, [this] {
            if (generate_->isEnabled()) generate_->click();
        });
    }
    return footer;
}

void UGCGeneratorSection::refresh() {
    topicEditor_->refresh();
    sourceControls_->refresh();
    durationAndLanguage_->refresh();
    avatarControls_->refresh();
    publishPreview_->refresh();
    const OptionalString& error = state_.errorMessage();
    error_->setText(error.value_or(QString()));
    error_->setVisible(error.has_value());
    estimate_->setText(QStringLiteral("Estimated %1 credits").arg(state_.estimatedCredits()));
    generate_->setTitle(UGCStepTexts::isGenerating(state_.step()) ? QStringLiteral("Generating...") : QStringLiteral("Generate"));
    generate_->setEnabled(state_.canGenerate());
}

}  // namespace vexora
