#pragma once

#include <QString>
#include <memory>

class QMenu;

namespace vexora {

namespace DesktopSupport {

// The application's main menu: "Application" (Quit) and "Edit" (Undo, Redo, Cut, Copy, Paste,
// Select All). The panel adds these actions to itself so their shortcuts work while it has focus;
// the edit commands go to whichever text field has the focus.
std::unique_ptr<QMenu> makeMainMenu(const QString& displayName);

}  // namespace DesktopSupport

}  // namespace vexora
