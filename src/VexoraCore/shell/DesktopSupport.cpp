#include "shell/DesktopSupport.h"

#include <QApplication>
#include <QMenu>
#include <QWidget>

namespace vexora::DesktopSupport {

namespace {

// Text fields of every kind name these slots alike.
void sendToFocusedField(const char* slot) {
    if (QWidget* focused = QApplication::focusWidget()) QMetaObject::invokeMethod(focused, slot);
}

void addEditAction(QMenu& menu, const QString& title, const char* shortcut, const char* slot) {
    QAction* action = menu.addAction(title);
    action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, [slot] { sendToFocusedField(slot); });
}

}  // namespace

std::unique_ptr<QMenu> makeMainMenu(const QString& displayName) {
    auto main = std::make_unique<QMenu>(QStringLiteral("Main"));
    QMenu* application = main->addMenu(QStringLiteral("Application"));
    QAction* quit = application->addAction(QStringLiteral("Quit ") + displayName);
    quit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    QObject::connect(quit, &QAction::triggered, [] { QCoreApplication::quit(); });

    QMenu* edit = main->addMenu(QStringLiteral("Edit"));
    addEditAction(*edit, QStringLiteral("Undo"), "Ctrl+Z", "undo");
    addEditAction(*edit, QStringLiteral("Redo"), "Ctrl+Shift+Z", "redo");
    edit->addSeparator();
    addEditAction(*edit, QStringLiteral("Cut"), "Ctrl+X", "cut");
    addEditAction(*edit, QStringLiteral("Copy"), "Ctrl+C", "copy");
    addEditAction(*edit, QStringLiteral("Paste"), "Ctrl+V", "paste");
    addEditAction(*edit, QStringLiteral("Select All"), "Ctrl+A", "selectAll");
    return main;
}

}  // namespace vexora::DesktopSupport
