#include "panel/ScheduleBuilder.h"

#include "panel/UGCDisclosureHeader.h"
#include "panel/UGCScheduleAvatarPicker.h"
#include "panel/UGCScheduleTexts.h"
#include "ui/CompactActionButton.h"
#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace vexora {

namespace {

constexpr ScheduleTopicSource topicSources[] = {ScheduleTopicSource::manual, ScheduleTopicSource::gaps,
                                                ScheduleTopicSource::knowledge};

QString capitalised(const QString& name) { return name.left(1).toUpper() + name.mid(1); }


// Edits arrive as textChanged, since text set by assistive technology (AT-SPI's EditableText)
// comes through setText rather than as typing; the draft's own text going in is no edit.
void setTextKeepingCursor(QLineEdit* field, const QString& text) {
    if (field->text() == text) return;
    const QSignalBlocker quiet(field);
    field->setText(text);
}

}  // namespace

ScheduleBuilder::ScheduleBuilder(UGCPanelContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    using namespace PanelWidgets;
    setObjectName(QStringLiteral("ugc.schedule.builder"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);

    auto* choices = new QGridLayout;
    choices->setHorizontalSpacing(10);
    choices->setVerticalSpacing(8);
    choices->setColumnStretch(1, 1);
    favorite_ = picker();
    identify(favorite_, QStringLiteral("ugc.schedule.favorite"), QStringLiteral("Favorite"));
    connect(favorite_, &QComboBox::activated, this, [this](int index) {
        const QString id = favorite_->itemData(index).toString();
        editDraft([&](ScheduleDraft& draft) { draft.favoriteID = id.isEmpty() ? std::nullopt : std::optional(id); });
    });
    QLabel* favoriteCaption = label(QStringLiteral("Favorite"), QStringLiteral("caption"));
    favoriteCaption->setBuddy(favorite_);
    choices->addWidget(favoriteCaption, 0, 0);
    choices->addWidget(favorite_, 0, 1);
    choices->addWidget(label(QStringLiteral("Topic source"), QStringLiteral("caption")), 1, 0);
    choices->addWidget(buildTopicSource(), 1, 1, Qt::AlignLeft);
    column->addLayout(choices);

    defaultTopic_ = new QLineEdit;
    identify(defaultTopic_, QStringLiteral("ugc.schedule.default-topic"), QStringLiteral("Default topic"));
    defaultTopic_->setPlaceholderText(QStringLiteral("Default topic"));
    connect(defaultTopic_, &QLineEdit::textChanged, this,
            [this](const QString& text) { editDraft([&](ScheduleDraft& draft) { draft.defaultTopic = text; }); });
    column->addWidget(defaultTopic_);

    avatarPicker_ = new UGCScheduleAvatarPicker(context_);
    column->addWidget(avatarPicker_);
    column->addWidget(buildAdvancedAvatarURL());
    column->addLayout(buildRuns());

    validation_ = new QWidget;
    validation_->setObjectName(QStringLiteral("ugc.schedule.validation"));
    auto* warning = new QHBoxLayout(validation_);
    warning->setContentsMargins(0, 0, 0, 0);
    warning->setSpacing(6);
    warning->addWidget(symbolLabel(QStringLiteral("exclamationmark.triangle.fill"), 14, {}, Colour::danger), 0, Qt::AlignTop);
    validationText_ = label({}, QStringLiteral("error"));
    validationText_->setObjectName(QStringLiteral("ugc.schedule.validation-text"));
    warning->addWidget(validationText_, 1);
    column->addWidget(validation_);

    create_ = new CompactActionButton(QStringLiteral("Create schedule"), CompactActionButton::Prominence::primary);
    create_->setObjectName(QStringLiteral("ugc.schedule.create"));
    setSymbol(create_, QStringLiteral("plus.circle"), 16, Colour::onAccent);
    connect(create_, &QPushButton::clicked, this, [this] { context_.state.createSchedule(); });
    column->addWidget(create_);
}

QWidget* ScheduleBuilder::buildTopicSource() {
    auto* segments = new QWidget;
    PanelWidgets::identify(segments, QStringLiteral("ugc.schedule.topic-source"), QStringLiteral("Topic source"));
    auto* row = new QHBoxLayout(segments);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    topicSource_ = new QButtonGroup(this);
    for (ScheduleTopicSource source : topicSources) {
        auto* segment = new QToolButton;
        segment->setProperty("segment", true);
        segment->setCheckable(true);
        segment->setCursor(Qt::PointingHandCursor);
        segment->setText(capitalised(storedName(source)));
        segment->setObjectName(QStringLiteral("ugc.schedule.topic-source.") + storedName(source));
        topicSource_->addButton(segment, int(source));
        row->addWidget(segment);
    }
    // Only the outer ends of the strip are rounded.
    const QList<QAbstractButton*> buttons = topicSource_->buttons();
    buttons.first()->setStyleSheet(QStringLiteral("border-top-left-radius: 8px; border-bottom-left-radius: 8px;"));
    buttons.last()->setStyleSheet(QStringLiteral("border-top-right-radius: 8px; border-bottom-right-radius: 8px;"));
    connect(topicSource_, &QButtonGroup::idClicked, this, [this](int id) {
        editDraft([&](ScheduleDraft& draft) { draft.topicSource = ScheduleTopicSource(id); });
    });
    return segments;
}

QWidget* ScheduleBuilder::buildAdvancedAvatarURL() {
    auto* advanced = new QWidget;
    auto* column = new QVBoxLayout(advanced);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    advancedHeader_ = new UGCDisclosureHeader(QStringLiteral("Advanced avatar URL"),
                                              QStringLiteral("Expands or collapses the advanced avatar URL field."),
                                              QStringLiteral("disclosure-inline"));
    advancedHeader_->setObjectName(QStringLiteral("ugc.schedule.advanced-avatar-url"));
    connect(advancedHeader_, &QPushButton::clicked, this, [this] {
        showsAdvancedAvatarURL_ = !showsAdvancedAvatarURL_;
        refresh();
    });
    column->addWidget(advancedHeader_);
    avatarURL_ = new QLineEdit;
    PanelWidgets::identify(avatarURL_, QStringLiteral("ugc.schedule.avatar-url"), QStringLiteral("Avatar URL"));
    avatarURL_->setPlaceholderText(QStringLiteral("Avatar URL"));
    connect(avatarURL_, &QLineEdit::textChanged, this,
            [this](const QString& text) { editDraft([&](ScheduleDraft& draft) { draft.avatarURL = text; }); });
    avatarURL_->hide();
    column->addWidget(avatarURL_);
    return advanced;
}

QLayout* ScheduleBuilder::buildRuns() {
    using namespace PanelWidgets;
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    runsPerDay_ = new QSpinBox;
    identify(runsPerDay_, QStringLiteral("ugc.schedule.runs-per-day"), QStringLiteral("Runs per day"));
    runsPerDay_->setRange(1, 6);
    runsPerDay_->setPrefix(QStringLiteral("Runs per day: "));
    runsPerDay_->setKeyboardTracking(false);
    connect(runsPerDay_, &QSpinBox::valueChanged, this, [this](int value) {
        // Also fires when refresh shows the draft's value; only a different value is a change.
        if (value != context_.state.scheduleDraft().runsPerDay) context_.state.setScheduleRunsPerDay(value);
    });
    row->addWidget(runsPerDay_);
    row->addWidget(symbolLabel(QStringLiteral("clock"), 14));
    runHours_ = label({}, QStringLiteral("secondary"));
    runHours_->setObjectName(QStringLiteral("ugc.schedule.run-hours"));
    row->addWidget(runHours_, 1);
    return row;
}

void ScheduleBuilder::editDraft(const std::function<void(ScheduleDraft&)>& change) {
    ScheduleDraft draft = context_.state.scheduleDraft();
    change(draft);
    context_.state.setScheduleDraft(draft);
}

void ScheduleBuilder::refresh() {
    const ScheduleDraft& draft = context_.state.scheduleDraft();
    refreshFavorites();
    const int favoriteIndex = favorite_->findData(draft.favoriteID.value_or(QString()));
    if (favorite_->currentIndex() != favoriteIndex) favorite_->setCurrentIndex(favoriteIndex);
    if (QAbstractButton* segment = topicSource_->button(int(draft.topicSource)); segment && !segment->isChecked())
        segment->setChecked(true);
    setTextKeepingCursor(defaultTopic_, draft.defaultTopic);
    avatarPicker_->refresh();

    advancedHeader_->setExpanded(showsAdvancedAvatarURL_);
    avatarURL_->setVisible(showsAdvancedAvatarURL_);
    setTextKeepingCursor(avatarURL_, draft.avatarURL);

    if (runsPerDay_->value() != draft.runsPerDay) runsPerDay_->setValue(draft.runsPerDay);
    runHours_->setText(QStringLiteral("Runs at ") + UGCScheduleTexts::runHours(draft.runHours));

    const std::optional<QString> error = draft.validationError();
    validation_->setVisible(error.has_value());
    if (error) validationText_->setText(*error);
    create_->setEnabled(!error);
}

void ScheduleBuilder::refreshFavorites() {
    const QList<FavoriteOption>& favorites = context_.state.favorites();
    if (shownFavorites_ == favorites) return;
    shownFavorites_ = favorites;
    QList<std::pair<QString, QString>> items;
    for (const FavoriteOption& favorite : favorites) items.append({favorite.displayName(), favorite.id});
    PanelWidgets::setPickerItems(favorite_, QStringLiteral("Choose favorite"), items);
}

}  // namespace vexora
