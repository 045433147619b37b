#include "panel/UGCDurationAndLanguage.h"

#include "languages/UGCShortsLanguage.h"
#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace vexora {

namespace {

constexpr UGCDuration allDurations[] = {UGCDuration::five, UGCDuration::ten, UGCDuration::fifteen};

// A stored code that is not one of the six shows as English.
UGCShortsLanguage shownLanguage(const QString& code) {
    if (auto language = UGCShortsLanguage::byCode(code)) return *language;
    return *UGCShortsLanguage::byCode(QStringLiteral("en"));
}

QString menuTitle(const UGCShortsLanguage& language) { return language.flag + QLatin1Char(' ') + language.name; }

}  // namespace

UGCDurationAndLanguage::UGCDurationAndLanguage(UGCAppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    using namespace PanelWidgets;
    setObjectName(QStringLiteral("ugc.duration-language.controls"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);

    auto* durationColumn = new QVBoxLayout;
    durationColumn->setSpacing(6);
    durationColumn->addWidget(label(QStringLiteral("Duration"), QStringLiteral("caption")));
    auto* picker = new QWidget;
    identify(picker, QStringLiteral("ugc.duration.picker"), QStringLiteral("Duration"));
    auto* segments = new QHBoxLayout(picker);
    segments->setContentsMargins(0, 0, 0, 0);
    segments->setSpacing(0);
    durations_ = new QButtonGroup(this);
    for (UGCDuration duration : allDurations) {
        auto* segment = new QToolButton;
        const QString title = QString::number(seconds(duration)) + QLatin1Char('s');
        segment->setText(title);
        segment->setAccessibleName(title);
        segment->setObjectName(QStringLiteral("ugc.duration.picker.") + title);
        segment->setCheckable(true);
        segment->setProperty("segment", true);
        segment->setFixedHeight(30);
        segment->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        segment->setCursor(Qt::PointingHandCursor);
        durations_->addButton(segment, int(duration));
        segments->addWidget(segment);
    }
    connect(durations_, &QButtonGroup::idClicked, this, [this](int id) { state_.setSelectedDuration(UGCDuration(id)); });
    durationColumn->addWidget(picker);
    row->addLayout(durationColumn, 1);

    auto* languageColumn = new QVBoxLayout;
    languageColumn->setSpacing(6);
    languageColumn->addWidget(label(QStringLiteral("Language"), QStringLiteral("caption")));
    languageMenu_ = new QToolButton;
    identify(languageMenu_, QStringLiteral("ugc.language.menu"), QStringLiteral("Language"));
    languageMenu_->setProperty("menuButton", true);
    languageMenu_->setFixedSize(156, 30);
    languageMenu_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    languageMenu_->setLayoutDirection(Qt::RightToLeft);  // the chevron after the name
    languageMenu_->setPopupMode(QToolButton::InstantPopup);
    setSymbol(languageMenu_, QStringLiteral("chevron.up.chevron.down"), 12);
    auto* menu = new QMenu(languageMenu_);
    menu->setLayoutDirection(Qt::LeftToRight);
    for (const UGCShortsLanguage& language : UGCShortsLanguage::all()) {
        QAction* item = menu->addAction(menuTitle(language));
        item->setObjectName(QStringLiteral("ugc.language.menu.") + language.code);
        connect(item, &QAction::triggered, this, [this, code = language.code] { state_.setLanguage(code); });
    }
    languageMenu_->setMenu(menu);
    languageColumn->addWidget(languageMenu_);
    row->addLayout(languageColumn);
    refresh();
}

void UGCDurationAndLanguage::refresh() {
    if (QAbstractButton* segment = durations_->button(int(state_.selectedDuration()))) segment->setChecked(true);
    languageMenu_->setText(menuTitle(shownLanguage(state_.language())));
}

}  // namespace vexora
