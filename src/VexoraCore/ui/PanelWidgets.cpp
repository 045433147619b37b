#include "ui/PanelWidgets.h"

#include "ui/SymbolIcon.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMetaProperty>
#include <QStyle>
#include <QToolButton>

namespace vexora::PanelWidgets {

namespace {

// Connects notify signals to a plain std::function through one slot of its own.
class ChangeRelay : public QObject {
    Q_OBJECT

public:
    ChangeRelay(std::function<void()> onChange, QObject* parent) : QObject(parent), onChange_(std::move(onChange)) {}

    Q_SLOT void fire() {
        if (running_) {
            again_ = true;
            return;
        }
        running_ = true;
        do {
            again_ = false;
            onChange_();
        } while (again_);
        running_ = false;
    }

private:
    std::function<void()> onChange_;
    bool running_ = false;
    bool again_ = false;
};

const char* const accessibleValueProperty = "accessibleValue";
const char* const accessibleRoleProperty = "accessibleRole";

// Plain widgets and frames, and custom controls with a value: their role and value are read when
// a screen reader asks, since Qt keeps the interface it made first, often before the role was set
// (adding a child makes it).
class PanelWidgetAccessible : public QAccessibleWidget {
public:
    PanelWidgetAccessible(QWidget* widget, bool plainFrame) : QAccessibleWidget(widget), plainFrame_(plainFrame) {}

    QAccessible::Role role() const override {
        const QVariant assigned = widget()->property(accessibleRoleProperty);
        if (assigned.isValid()) return assigned.value<QAccessible::Role>();
        if (!plainFrame_) return QAccessibleWidget::role();
        // Qt calls a plain frame a window border, which AT-SPI reports as a frame, the role of a
        // top-level window: cards and callouts are groups, lines are separators.
        const auto shape = static_cast<QFrame*>(widget())->frameShape();
        const bool line = shape == QFrame::HLine || shape == QFrame::VLine ||
                          widget()->property("role").toString() == QLatin1String("divider");
        return line ? QAccessible::Separator : QAccessible::Grouping;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return widget()->property(accessibleValueProperty).toString();
        return QAccessibleWidget::text(kind);
    }

private:
    bool plainFrame_;
};

QAccessibleInterface* panelWidgetFactory(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget) return nullptr;
    const bool plainFrame = className == QLatin1String("QFrame");
    if (plainFrame || className == QLatin1String("QWidget") || widget->property(accessibleValueProperty).isValid() ||
        widget->property(accessibleRoleProperty).isValid())
        return new PanelWidgetAccessible(widget, plainFrame);
    return nullptr;
}

void installAccessibleFactory() {
    static const bool installed = (QAccessible::installFactory(panelWidgetFactory), true);
    Q_UNUSED(installed);
}

QString colourName(const QColor& colour) { return colour.name(QColor::HexRgb); }

}  // namespace

QString styleSheet() {
    return QStringLiteral(R"css(
#ugcPanelRoot, QScrollArea#ugcPanelScroll, QWidget#ugcPanelColumn { background: #F4F4F8; }
QWidget { color: %1; font-family: "Inter", "DejaVu Sans", sans-serif; font-size: 12px; }
vexora--PanelCard { background: #FFFFFF; border: 1px solid #E3E3EC; border-radius: 12px; }
vexora--PanelCard QLabel, vexora--PanelCard QCheckBox { background: transparent; }
QLabel[role="title"] { font-size: 14px; font-weight: 600; }
QLabel[role="heading"] { font-size: 13px; font-weight: 600; }
QLabel[role="caption"] { font-size: 11px; font-weight: 600; color: %2; }
QLabel[role="secondary"] { font-size: 11px; color: %2; }
QLabel[role="error"] { color: %4; }
QLabel[role="pill-danger"] { color: %4; background: #FDECEE; border-radius: 9px; padding: 2px 8px; font-size: 11px; font-weight: 600; }
QLabel[role="pill-muted"] { color: %2; background: #EEEEF3; border-radius: 9px; padding: 2px 8px; font-size: 11px; font-weight: 600; }
QLabel[role="badge"] { color: %3; background: #F0E9FE; border-radius: 9px; padding: 2px 9px; font-size: 11px; font-weight: 600; }
QLabel[role="count"] { color: %2; background: #EEEEF3; border-radius: 8px; padding: 1px 7px; font-size: 11px; }
QLineEdit, QPlainTextEdit, QSpinBox { background: #FFFFFF; border: 1px solid #D9D9E3; border-radius: 8px; padding: 5px 8px; selection-background-color: %3; }
QLineEdit:focus, QPlainTextEdit:focus, QSpinBox:focus { border: 1px solid %3; }
QComboBox { background: #FFFFFF; border: 1px solid #D9D9E3; border-radius: 8px; padding: 4px 8px; min-height: 20px; }
QComboBox:disabled, QLineEdit:disabled { color: #A5A6B4; background: #F7F7FA; }
QComboBox::drop-down { border: none; width: 18px; }
vexora--CompactActionButton { border-radius: 8px; padding: 0 12px; font-weight: 600; }
vexora--CompactActionButton[prominence="primary"] { background: %3; color: #FFFFFF; border: none; }
vexora--CompactActionButton[prominence="primary"]:hover { background: #6D28D9; }
vexora--CompactActionButton[prominence="secondary"] { background: #FFFFFF; color: %1; border: 1px solid #D9D9E3; }
vexora--CompactActionButton[prominence="secondary"]:hover { background: #F4F4F8; }
vexora--CompactActionButton[prominence="danger"] { background: %4; color: #FFFFFF; border: none; }
vexora--CompactActionButton:disabled { background: #E7E7EE; color: #A5A6B4; border: none; }
QToolButton { border: none; border-radius: 6px; padding: 3px 6px; background: transparent; }
QToolButton:hover { background: #ECECF2; }
QToolButton:disabled { color: #A5A6B4; }
QToolButton[round="true"] { background: #F1F1F6; border: 1px solid #E3E3EC; padding: 0; }
QToolButton[segment="true"] { background: #F1F1F6; border: 1px solid #E3E3EC; border-radius: 0; padding: 4px 10px; }
QToolButton[segment="true"]:checked { background: %3; color: #FFFFFF; border-color: %3; }
QToolButton[menuButton="true"] { background: #FFFFFF; border: 1px solid #D9D9E3; border-radius: 8px; padding: 4px 8px; text-align: left; }
QToolButton::menu-indicator { image: none; width: 0; }
QToolButton[compact="true"] { font-size: 11px; padding: 2px 0; }
QToolButton[pill="true"] { background: #F4F4F8; border: 1px solid #E3E3EC; border-radius: 12px; padding: 3px 10px; }
QToolButton[pill="true"]:hover { background: #ECECF2; }
QPushButton[role="disclosure"] { border: none; background: transparent; text-align: left; padding: 2px 0; font-size: 13px; font-weight: 600; }
QPushButton[role="disclosure-inline"] { border: none; background: transparent; text-align: left; padding: 2px 0; color: %2; }
QFrame[role="callout-error"] { background: #FDECEE; border: 1px solid #F6C9CE; border-radius: 10px; }
QFrame[role="callout-info"] { background: #F3EEFE; border: 1px solid #E2D6FB; border-radius: 10px; }
QFrame[role="inset"] { background: #F7F7FA; border: 1px solid #ECECF2; border-radius: 10px; }
QFrame[role="divider"] { background: #E3E3EC; max-height: 1px; min-height: 1px; }
QScrollArea, QScrollArea > QWidget > QWidget { background: transparent; border: none; }
QSpinBox { padding-right: 22px; }
QSpinBox::up-button, QSpinBox::down-button { subcontrol-origin: border; width: 20px; border: none; background: transparent; }
QSpinBox::up-button { subcontrol-position: top right; }
QSpinBox::down-button { subcontrol-position: bottom right; }
QSpinBox::up-arrow { image: url(:/Symbols/chevron.up.svg); width: 9px; height: 9px; }
QSpinBox::down-arrow { image: url(:/Symbols/chevron.down.svg); width: 9px; height: 9px; }
QSpinBox::up-arrow:disabled, QSpinBox::up-arrow:off, QSpinBox::down-arrow:disabled, QSpinBox::down-arrow:off { image: none; }
QCheckBox { spacing: 7px; }
QCheckBox::indicator { width: 14px; height: 14px; border-radius: 4px; border: 1px solid #C9C9D6; background: #FFFFFF; }
QCheckBox::indicator:checked { background: %3; border: 3px solid #E9DDFD; }
QScrollBar:vertical { width: 6px; background: transparent; margin: 0; }
QScrollBar::handle:vertical { background: #D9D9E3; border-radius: 3px; min-height: 24px; }
QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }
QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }
QScrollBar:horizontal { height: 6px; background: transparent; margin: 0; }
QScrollBar::handle:horizontal { background: #D9D9E3; border-radius: 3px; min-width: 24px; }
QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal { width: 0; }
QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal { background: transparent; }
)css")
        .arg(colourName(Colour::text), colourName(Colour::secondaryText), colourName(Colour::accent),
             colourName(Colour::danger));
}

QLabel* label(const QString& text, const QString& role, QWidget* parent) {
    auto* made = new QLabel(parent);
    made->setTextFormat(Qt::PlainText);  // service data is shown as written, never as markup
    made->setText(text);
    made->setProperty("role", role);
    if (role == QLatin1String("body") || role == QLatin1String("secondary") || role == QLatin1String("error"))
        made->setWordWrap(true);
    return made;
}

void setRole(QWidget* widget, const QString& role) {
    if (widget->property("role").toString() == role) return;
    widget->setProperty("role", role);
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
}

QLabel* symbolLabel(const QString& symbolName, int side, const QString& toolTip, QColor colour) {
    auto* made = new QLabel;
    setSymbol(made, symbolName, side, colour);
    made->setFixedSize(side, side);
    if (!toolTip.isEmpty()) made->setToolTip(toolTip);
    return made;
}

void setSymbol(QLabel* label, const QString& symbolName, int side, QColor colour) {
    if (label->property("symbol").toString() == symbolName) return;
    label->setProperty("symbol", symbolName);
    label->setPixmap(SymbolIcon::pixmap(symbolName, side, colour, label->devicePixelRatioF()));
}

void setSymbol(QAbstractButton* button, const QString& symbolName, int side, QColor colour) {
    if (button->property("symbol").toString() == symbolName) return;
    button->setProperty("symbol", symbolName);
    button->setIcon(SymbolIcon::icon(symbolName, colour));
    button->setIconSize(QSize(side, side));
}

QToolButton* iconButton(const QString& symbolName, const QString& accessibleName, const QString& toolTip, int side) {
    auto* button = new QToolButton;
    button->setProperty("round", true);
    button->setFixedSize(side, side);
    button->setStyleSheet(QStringLiteral("border-radius: %1px;").arg(side / 2));
    setSymbol(button, symbolName, side / 2);
    button->setAccessibleName(accessibleName);
    button->setToolTip(toolTip);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QToolButton* textButton(const QString& title, const QString& symbolName, QWidget* parent) {
    auto* button = new QToolButton(parent);
    makeTextButton(button, title, symbolName);
    return button;
}

void makeTextButton(QToolButton* button, const QString& title, const QString& symbolName) {
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setText(title);
    button->setAccessibleName(title);
    setSymbol(button, symbolName, 14, Colour::accent);
    button->setCursor(Qt::PointingHandCursor);
}

void setTitle(QAbstractButton* button, const QString& title) {
    if (button->text() == title) return;
    button->setText(title);
    button->setAccessibleName(title);
}

void setLongTitle(QAbstractButton* button, const QString& title, int width) {
    const QString shown = button->fontMetrics().elidedText(title, Qt::ElideRight, width);
    setTitle(button, shown);
    button->setAccessibleName(title);
    button->setToolTip(shown == title ? QString() : title);
}

QLabel* fillErrorCallout(QFrame* frame, const QString& heading, const QString& messageIdentifier, QVBoxLayout** column) {
    frame->setProperty("role", QStringLiteral("callout-error"));
    frame->setAccessibleName(heading);
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(12, 10, 12, 10);
    row->setSpacing(10);
    row->addWidget(symbolLabel(QStringLiteral("exclamationmark.triangle.fill"), 18, {}, Colour::danger), 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(label(heading, QStringLiteral("heading")));
    QLabel* message = label({}, QStringLiteral("body"));
    message->setObjectName(messageIdentifier);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    texts->addWidget(message);
    texts->addSpacing(2);
    row->addLayout(texts, 1);
    *column = texts;
    return message;
}

QComboBox* picker() {
    auto* made = new QComboBox;
    made->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    made->setMinimumContentsLength(12);
    made->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return made;
}

void setPickerItems(QComboBox* picker, const QString& noneTitle, const QList<std::pair<QString, QString>>& namesAndIDs) {
    picker->clear();
    picker->addItem(noneTitle, QString());
    for (const auto& [name, id] : namesAndIDs) {
        picker->addItem(name, id);
        picker->setItemData(picker->count() - 1, name, Qt::ToolTipRole);
    }
}

void identify(QWidget* widget, const QString& identifier, const QString& accessibleName, const QString& accessibleDescription) {
    installAccessibleFactory();
    widget->setObjectName(identifier);
    if (!accessibleName.isEmpty()) widget->setAccessibleName(accessibleName);
    if (!accessibleDescription.isEmpty()) widget->setAccessibleDescription(accessibleDescription);
}

void identifySection(QWidget* widget, const QString& identifier, const QString& name) {
    identify(widget, identifier, name);
    setAccessibleRole(widget, QAccessible::Grouping);
}

void setAccessibleRole(QWidget* widget, QAccessible::Role role) {
    installAccessibleFactory();
    widget->setProperty(accessibleRoleProperty, QVariant::fromValue(role));
}

void setAccessibleValue(QWidget* widget, const QString& value) {
    installAccessibleFactory();
    if (widget->property(accessibleValueProperty).toString() == value) return;
    widget->setProperty(accessibleValueProperty, value);
    QAccessibleValueChangeEvent event(widget, value);
    QAccessible::updateAccessibility(&event);
}

QString accessibleValue(const QWidget* widget) { return widget->property(accessibleValueProperty).toString(); }

void clearLayout(QLayout* layout) {
    while (QLayoutItem* item = layout->takeAt(0)) {
        if (QWidget* widget = item->widget()) {
            widget->hide();
            widget->setParent(nullptr);
            widget->deleteLater();
        } else if (QLayout* inner = item->layout()) {
            clearLayout(inner);
        }
        delete item;
    }
}

void addShown(QLayout* layout, QWidget* widget) {
    layout->addWidget(widget);
    widget->show();
}

void watchProperties(QObject* source, QObject* context, std::function<void()> onChange) {
    auto* relay = new ChangeRelay(std::move(onChange), context);
    const QMetaObject* meta = source->metaObject();
    const QMetaMethod fire = relay->metaObject()->method(relay->metaObject()->indexOfSlot("fire()"));
    for (int index = 0; index < meta->propertyCount(); ++index) {
        const QMetaProperty property = meta->property(index);
        if (property.hasNotifySignal()) QObject::connect(source, property.notifySignal(), relay, fire);
    }
}

}  // namespace vexora::PanelWidgets

#include "PanelWidgets.moc"
