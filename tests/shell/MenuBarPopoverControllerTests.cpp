#include "shell/DesktopSupport.h"
#include "shell/MenuBarPopoverController.h"
#include "shell/ShellTestTimers.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <gtest/gtest.h>

using namespace vexora;
using namespace vexora::test;

namespace {

CoreAppConfiguration shellConfiguration() {
    CoreAppConfiguration configuration;
    configuration.displayName = QStringLiteral("Vexora UGC Volley");
    configuration.statusIconAssetName = QStringLiteral("ugc-volley-status");
    return configuration;
}

class ShellTest : public ::testing::Test {
protected:
    VirtualShellTime time;
    std::vector<StatusIconLook> looks;
    AppUpdateState update;
    std::vector<bool> presented;
    int quits = 0;
    int checks = 0;
    QSizeF preferred{440, 510};

    std::unique_ptr<MenuBarPopoverController> makeController() {
        PopoverHooks hooks;
        hooks.makeContent = [] { return new QLabel(QStringLiteral("panel")); };
        hooks.getPreferredPanelSize = [this] { return preferred; };
        hooks.getUpdateState = [this] { return update; };
        hooks.onPanelPresentedChange = [this](bool shown) { presented.push_back(shown); };
        hooks.onQuit = [this] { ++quits; };
        hooks.onCheckForUpdates = [this] { ++checks; };
        return std::make_unique<MenuBarPopoverController>(shellConfiguration(), hooks, time.factory());
    }
};

QStringList titlesOf(const QMenu& menu) {
    QStringList titles;
    for (const QAction* action : menu.actions())
        titles << (action->isSeparator() ? QStringLiteral("-") : action->text() + " " + action->shortcut().toString());
    return titles;
}

}  // namespace

TEST_F(ShellTest, IconAnimatesWhileProcessingAndTintsFadeBackToIdle) {
    StatusIconAnimator animator(time.factory(), [&](StatusIconLook look) { looks.push_back(look); });
    animator.apply(StatusIconState::processing);
    time.advance(1200);
    ASSERT_EQ(looks.size(), 4u) << "a frame at once, then every 0.4 s";
    EXPECT_EQ(looks[0].tint, StatusIconAnimator::processingColors[0]);
    EXPECT_EQ(looks[3].tint, StatusIconAnimator::processingColors[0]) << "three colours in turn";

    looks.clear();
    animator.apply(StatusIconState::success);
    EXPECT_EQ(animator.animationFrame(), 0);
    time.advance(1000);
    animator.apply(StatusIconState::processing);  // a new run within 1.4 s
    time.advance(800);
    for (const StatusIconLook& look : looks) EXPECT_TRUE(look.tint.has_value()) << "the stale idle reset does nothing";
    EXPECT_TRUE(animator.isAnimating());

    looks.clear();
    animator.apply(StatusIconState::error);
    EXPECT_EQ(looks.back().tint, StatusIconAnimator::errorTint);
    time.advance(1399);
    EXPECT_TRUE(looks.back().tint);
    time.advance(1);
    EXPECT_EQ(looks.back(), StatusIconLook{}) << "back to the template icon after 1.4 s";
    EXPECT_FALSE(animator.isAnimating());
}

TEST_F(ShellTest, UpdateItemFollowsTheUpdateState) {
    auto controller = makeController();
    QMenu& menu = controller->contextMenu();
    ASSERT_EQ(menu.actions().size(), 3);
    EXPECT_EQ(menu.actions()[2]->text(), "Quit Vexora UGC Volley");
    EXPECT_TRUE(menu.actions()[1]->isSeparator());
    EXPECT_EQ(controller->checkForUpdatesItem().text(), "Check for Updates...");
    EXPECT_FALSE(controller->checkForUpdatesItem().isEnabled());

    const std::tuple<AppUpdateStatus, std::optional<QString>, bool, QString> cases[] = {
        {AppUpdateStatus::updateAvailable, QStringLiteral("2.3.1"), true, "Install 2.3.1"},
        {AppUpdateStatus::updateAvailable, std::nullopt, true, "Install Update"},
        {AppUpdateStatus::checking, std::nullopt, false, "Checking for Updates..."},
        {AppUpdateStatus::upToDate, std::nullopt, true, "Check for Updates..."},
        {AppUpdateStatus::error, std::nullopt, true, "Check for Updates..."}};
    for (const auto& [status, version, canCheck, title] : cases) {
        update.status = status;
        update.availableVersion = version;
        update.canCheckForUpdates = canCheck;
        controller->applyUpdateMenuState();
        EXPECT_EQ(controller->checkForUpdatesItem().text(), title);
        EXPECT_EQ(controller->checkForUpdatesItem().isEnabled(), canCheck) << title.toStdString();
    }
    controller->checkForUpdatesItem().trigger();
    menu.actions()[2]->trigger();
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(quits, 1);
}

TEST_F(ShellTest, ShowingRetriesUntilTheTrayIsPlacedThenGivesUp) {
    auto controller = makeController();
    bool ready = false;
    controller->isTrayReady = [&] { return ready; };
    controller->showPanel();
    EXPECT_FALSE(controller->isPanelShown());
    time.advance(160 * 5);
    EXPECT_EQ(controller->pendingShowAttempts(), 6);
    ready = true;
    time.advance(160);
    EXPECT_TRUE(controller->isPanelShown());
    EXPECT_EQ(controller->pendingShowAttempts(), 0);
    EXPECT_EQ(controller->panelWindow()->size(), QSize(440, 510));
    EXPECT_EQ(presented, std::vector<bool>{true});

    preferred = QSizeF(480, 820);
    controller->syncPanelSize();
    EXPECT_EQ(controller->panelWindow()->size(), QSize(480, 820));
    controller->hidePanel();
    EXPECT_FALSE(controller->isPanelShown());

    ready = false;
    controller->showPanel();
    time.advance(160 * 25);
    EXPECT_FALSE(controller->isPanelShown());
    EXPECT_EQ(controller->pendingShowAttempts(), 0) << "after 20 tries the counter is back at 0";
}

TEST_F(ShellTest, OutsideClicksCloseButNotOnThePanelOrNearTheIcon) {
    const QRect panel(100, 30, 480, 820);
    const QRect icon(600, 0, 22, 22);
    EXPECT_FALSE(MenuBarPopoverController::shouldClosePanel(false, {10, 10}, panel, icon)) << "nothing to close";
    EXPECT_FALSE(MenuBarPopoverController::shouldClosePanel(true, {200, 200}, panel, icon));
    EXPECT_FALSE(MenuBarPopoverController::shouldClosePanel(true, {625, 25}, panel, icon)) << "within 4 points of the icon";
    EXPECT_TRUE(MenuBarPopoverController::shouldClosePanel(true, {627, 27}, panel, icon));
    EXPECT_TRUE(MenuBarPopoverController::shouldClosePanel(true, {625, 25}, panel, std::nullopt));

    const QRect screen(0, 0, 1280, 800);
    EXPECT_EQ(MenuBarPopoverController::panelPosition({480, 820}, QRect(1270, 0, 10, 10), screen), QPoint(800, 0))
        << "kept on screen";
    EXPECT_EQ(MenuBarPopoverController::panelPosition({400, 300}, QRect(600, 780, 20, 20), screen), QPoint(410, 476))
        << "above an icon at the bottom of the screen";
}

TEST_F(ShellTest, MainMenuHasTheApplicationAndEditCommands) {
    const auto menu = DesktopSupport::makeMainMenu(QStringLiteral("Vexora UGC Volley"));
    EXPECT_EQ(menu->title(), "Main");
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), "Application");
    EXPECT_EQ(titlesOf(*menu->actions()[0]->menu()), QStringList{"Quit Vexora UGC Volley Ctrl+Q"});
    EXPECT_EQ(menu->actions()[1]->text(), "Edit");
    EXPECT_EQ(titlesOf(*menu->actions()[1]->menu()),
              (QStringList{"Undo Ctrl+Z", "Redo Ctrl+Shift+Z", "-", "Cut Ctrl+X", "Copy Ctrl+C", "Paste Ctrl+V", "Select All Ctrl+A"}));
}
