#pragma once

#include <QAccessible>
#include <QColor>
#include <QList>
#include <QString>
#include <utility>
#include <functional>

class QAbstractButton;
class QComboBox;
class QFrame;
class QVBoxLayout;
class QLabel;
class QLayout;
class QObject;
class QToolButton;
class QWidget;

// The panel's look and the few ways its controls are made, so every section builds them alike.
namespace vexora::PanelWidgets {

namespace Colour {
inline const QColor text{0x1F, 0x20, 0x2B};
inline const QColor secondaryText{0x65, 0x67, 0x78};
inline const QColor accent{0x7C, 0x3A, 0xED};
inline const QColor danger{0xD9, 0x2D, 0x3A};
inline const QColor success{0x16, 0x9C, 0x5B};
inline const QColor onAccent{0xFF, 0xFF, 0xFF};
}  // namespace Colour

// The style sheet of the whole panel; labels and buttons pick their look by their "role".
QString styleSheet();

// A plain-text label styled by `role`: "title", "heading", "caption", "body", "secondary", "error",
// "pill-danger", "pill-muted", "badge", "count".
QLabel* label(const QString& text, const QString& role, QWidget* parent = nullptr);

// Re-styles a widget whose role changed at run time.
void setRole(QWidget* widget, const QString& role);

// A label that shows only a symbol, with a tooltip.
QLabel* symbolLabel(const QString& symbolName, int side, const QString& toolTip = {}, QColor colour = Colour::secondaryText);
void setSymbol(QLabel* label, const QString& symbolName, int side, QColor colour = Colour::secondaryText);
void setSymbol(QAbstractButton* button, const QString& symbolName, int side, QColor colour = Colour::secondaryText);

// A round icon-only button of `side` pixels.
QToolButton* iconButton(const QString& symbolName, const QString& accessibleName, const QString& toolTip, int side);

// A flat text button with a leading symbol ("Open video", "Copy script").
QToolButton* textButton(const QString& title, const QString& symbolName, QWidget* parent = nullptr);
// Gives a tool button of a subclass the same look.
void makeTextButton(QToolButton* button, const QString& title, const QString& symbolName);

// Changes a button's title and its accessibility label together.
void setTitle(QAbstractButton* button, const QString& title);
// A title that may be long (an account's name): cut short to `width` pixels, whole in the tooltip
// and the accessible name.
void setLongTitle(QAbstractButton* button, const QString& title, int width);

// Fills `frame` as a red callout: a warning symbol beside a heading and a selectable message
// (named `messageIdentifier`). Returns the message; `column` gets the column under it, where the
// callout's buttons go.
QLabel* fillErrorCallout(QFrame* frame, const QString& heading, const QString& messageIdentifier, QVBoxLayout** column);

// A picker of service records whose long names never widen the panel: the chosen one is cut
// short, every item's full name is its tooltip. Items carry the record id as data; the first,
// with empty data, stands for none.
QComboBox* picker();
void setPickerItems(QComboBox* picker, const QString& noneTitle, const QList<std::pair<QString, QString>>& namesAndIDs);

// Names a control the way accessibility tools and tests find it.
void identify(QWidget* widget, const QString& identifier, const QString& accessibleName = {},
              const QString& accessibleDescription = {});

// A part of the panel that screen readers list as a named group.
void identifySection(QWidget* widget, const QString& identifier, const QString& name);

// The role screen readers give a plain widget: the panel's window, a section, a notification.
void setAccessibleRole(QWidget* widget, QAccessible::Role role);

// The value screen readers announce for a custom control ("Selected", "Auto"), kept in the
// widget's "accessibleValue" property.
void setAccessibleValue(QWidget* widget, const QString& value);
QString accessibleValue(const QWidget* widget);

// Removes every item of the layout; the widgets go at the next turn of the event loop, so a
// row may rebuild its list from inside one of its own click handlers.
void clearLayout(QLayout* layout);

// Adds a widget to a list being rebuilt and shows it at once (a layout would show it only at
// the next turn of the event loop), so the list is whole as soon as the rebuild returns.
void addShown(QLayout* layout, QWidget* widget);

// Calls `onChange` whenever any notifying property of `source` changes, for as long as `context`
// lives. Changes that arrive while `onChange` runs are folded into one more call.
void watchProperties(QObject* source, QObject* context, std::function<void()> onChange);

}  // namespace vexora::PanelWidgets
