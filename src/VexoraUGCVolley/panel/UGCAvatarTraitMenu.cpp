#include "panel/UGCAvatarTraitMenu.h"

#include "ui/PanelWidgets.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vexora {

namespace {

const QString lockedHint =
    QStringLiteral("Auto avatar mode is enabled. Turn off Auto to choose this trait manually.");

}  // namespace

UGCAvatarTraitMenu::UGCAvatarTraitMenu(const QString& title, QList<AvatarTraitOption> options,
                                       std::function<void(const QString&)> select, QWidget* parent)
    : QFrame(parent), options_(std::move(options)), select_(std::move(select)) {
    using namespace PanelWidgets;
    identify(this, QStringLiteral("ugc.avatar.trait.") + title.toLower(), title + QStringLiteral(" avatar trait"));
    setProperty("role", QStringLiteral("inset"));
    setMinimumHeight(52);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 6, 8, 6);
    column->setSpacing(3);
    column->addWidget(label(title, QStringLiteral("caption")));

    picker_ = new QComboBox;
    picker_->setAccessibleName(title);
    for (const AvatarTraitOption& option : options_) picker_->addItem(option.label, option.value);
    connect(picker_, &QComboBox::activated, this, [this] { select_(picker_->currentData().toString()); });
    column->addWidget(picker_);

    locked_ = new QWidget;
    auto* lockedRow = new QHBoxLayout(locked_);
    lockedRow->setContentsMargins(2, 4, 2, 4);
    lockedRow->setSpacing(5);
    lockedRow->addWidget(symbolLabel(QStringLiteral("wand.and.sparkles"), 14, {}, Colour::accent));
    lockedRow->addWidget(label(QStringLiteral("Auto"), QStringLiteral("body")));
    lockedRow->addStretch();
    column->addWidget(locked_);
}

void UGCAvatarTraitMenu::refresh(const QString& selection, bool isLocked) {
    const int index = picker_->findData(selection);
    if (index >= 0) picker_->setCurrentIndex(index);
    picker_->setVisible(!isLocked);
    locked_->setVisible(isLocked);
    PanelWidgets::setAccessibleValue(this, index >= 0 ? options_[index].label : selection);
    setAccessibleDescription(isLocked ? lockedHint : QString());
}

}  // namespace vexora
