#include "shell/MenuBarPopoverController.h"
#include "shell/PanelPlacement.h"
#include "shell/ShellTestTimers.h"
#include "shell/TrayIconArt.h"
#include "ui/BrandResources.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

using namespace vexora;
using namespace vexora::test;

namespace {

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
        CoreAppConfiguration configuration;
        configuration.displayName = QStringLiteral("Vexora UGC Volley");
        configuration.statusIconAssetName = QStringLiteral("ugc-volley-status");
        PopoverHooks hooks;
        hooks.makeContent = [] { return new QLabel(QStringLiteral("panel")); };
        hooks.getPreferredPanelSize = [this] { return preferred; };
        hooks.getUpdateState = [this] { return update; };
        hooks.onPanelPresentedChange = [this](bool shown) { presented.push_back(shown); };
        hooks.onQuit = [this] { ++quits; };
        hooks.onCheckForUpdates = [this] { ++checks; };
        return std::make_unique<MenuBarPopoverController>(configuration, hooks, time.factory());
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

TEST_F(ShellTest, ContextMenuOpensThePanelFollowsUpdatesAndSwitchesStartAtLogin) {
    auto controller = makeController();
    QMenu& menu = controller->contextMenu();
    EXPECT_EQ(titlesOf(menu), (QStringList{"Open Vexora UGC Volley ", "-", "Check for Updates... ", "Start at Login ", "-",
                                           "Quit Vexora UGC Volley Ctrl+Q"}));
    EXPECT_EQ(menu.defaultAction(), &controller->openPanelItem()) << "hosts that open the menu on a click need it";
    EXPECT_FALSE(controller->checkForUpdatesItem().isEnabled());

    const std::tuple<AppUpdateStatus, std::optional<QString>, bool, QString> cases[] = {
        {AppUpdateStatus::updateAvailable, QStringLiteral("2.3.1"), true, "Install 2.3.1"},
        {AppUpdateStatus::updateAvailable, std::nullopt, true, "Install Update"},
        {AppUpdateStatus::checking, std::nullopt, false, "Checking for Updates..."},
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
    menu.actions().last()->trigger();
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(quits, 1);

    // The login entry is the desktop's, named after the application id, and starts us in the tray.
    const QString entry = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                          "/autostart/com.vexora.ugcvolley.qa.desktop";
    QFile::remove(entry);
    controller->startAtLoginItem().trigger();
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << entry.toStdString();
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\nType=Application\n"));
    EXPECT_TRUE(text.contains(QRegularExpression("\nExec=\\S+ --autostart\n"))) << text.toStdString();
    EXPECT_TRUE(makeController()->startAtLoginItem().isChecked()) << "read back at the next start";
    controller->startAtLoginItem().trigger();
    EXPECT_FALSE(QFile::exists(entry));
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

    controller->hidePanel();
    ready = false;
    controller->showPanel();
    time.advance(160 * 25);
    EXPECT_FALSE(controller->isPanelShown());
    EXPECT_EQ(controller->pendingShowAttempts(), 0) << "after 20 tries the counter is back at 0";
}

// With a tray host the panel is a popover that closes whenever the user turns elsewhere, and its
// shown state is the window's own.
TEST_F(ShellTest, PopoverFollowsTheIconsClicksFocusLossAndItsWindow) {
    auto controller = makeController();
    controller->isTrayAvailable = [] { return true; };
    time.advance(MenuBarPopoverController::trayCheckMilliseconds);
    ASSERT_TRUE(controller->hasSystemTray());

    QSystemTrayIcon& icon = *controller->trayIcon();
    emit icon.activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(controller->isPanelShown());
    emit icon.activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(controller->isPanelShown()) << "the double click's own press toggled it already";
    emit icon.activated(QSystemTrayIcon::Context);
    EXPECT_FALSE(controller->isPanelShown()) << "the menu is not covered";
    presented.clear();

    controller->showPanel();
    QWidget* window = controller->panelWindow();
    QEvent activate(QEvent::WindowActivate), deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(window, &deactivate);
    EXPECT_TRUE(controller->isPanelShown()) << "a focus loss from before this show, late after a quick hide and show";
    QCoreApplication::sendEvent(window, &activate);
    QCoreApplication::sendEvent(window, &deactivate);
    EXPECT_FALSE(controller->isPanelShown()) << "a browser or dialog took the focus";

    controller->showPanel();
    window->hide();  // not through the controller
    EXPECT_EQ(presented, (std::vector<bool>{true, false, true, false}));
}

TEST_F(ShellTest, TheWindowFollowsTheTrayComingAndGoing) {
    auto controller = makeController();
    bool tray = false;
    controller->isTrayAvailable = [&] { return tray; };
    controller->showPanel();
    QWidget* window = controller->panelWindow();

    tray = true;
    time.advance(MenuBarPopoverController::trayCheckMilliseconds);
    EXPECT_FALSE(controller->isPanelShown()) << "the icon is the way in now";
    QCloseEvent close;
    QCoreApplication::sendEvent(window, &close);
    EXPECT_EQ(quits, 0) << "closing the popover never quits";

    tray = false;
    time.advance(MenuBarPopoverController::trayCheckMilliseconds);
    EXPECT_TRUE(controller->isPanelShown()) << "the window comes back";
    EXPECT_EQ(window->windowFlags() & Qt::WindowType_Mask, Qt::Window);
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(controller->isPanelShown()) << "Escape never hides the only way in";
    window->close();
    EXPECT_EQ(quits, 1) << "without a tray the window is the application";
}

TEST_F(ShellTest, OutsideClicksCloseButNotOnThePanelOrTheIconsOwnClick) {
    const QRect panel(100, 30, 480, 820);
    const QRect icon(600, 0, 22, 22);
    EXPECT_FALSE(MenuBarPopoverController::shouldClosePanel(false, {10, 10}, panel, icon)) << "nothing to close";
    EXPECT_FALSE(MenuBarPopoverController::shouldClosePanel(true, {200, 200}, panel, icon));
    EXPECT_FALSE(MenuBarPopoverController::shouldClosePanel(true, {625, 25}, panel, icon)) << "within 4 points of the icon";
    EXPECT_TRUE(MenuBarPopoverController::shouldClosePanel(true, {627, 27}, panel, icon));
    EXPECT_TRUE(MenuBarPopoverController::shouldClosePanel(true, {625, 25}, panel, std::nullopt));
    EXPECT_TRUE(MenuBarPopoverController::shouldClosePanel(true, {610, 10}, panel, icon, Qt::RightButton))
        << "a right click on the icon opens its menu, which the panel must not cover";
}

TEST(PanelPlacement, NextToTheTrayOnEveryEdgeAndNeverOutsideTheFreeArea) {
    using PanelPlacement::panelFrame;
    const QSize panel(480, 600);
    // A 1280x800 screen with a 30 px panel on one edge; the icon lies in the panel's strip.
    EXPECT_EQ(panelFrame(panel, QRect(1200, 4, 22, 22), QRect(0, 30, 1280, 770)), QRect(800, 30, 480, 600)) << "top";
    EXPECT_EQ(panelFrame(panel, QRect(600, 774, 22, 22), QRect(0, 0, 1280, 770)), QRect(370, 170, 480, 600)) << "bottom";
    EXPECT_EQ(panelFrame(panel, QRect(4, 700, 22, 22), QRect(30, 0, 1250, 800)), QRect(30, 200, 480, 600)) << "left";
    EXPECT_EQ(panelFrame(panel, QRect(1254, 40, 22, 22), QRect(0, 0, 1250, 800)), QRect(770, 0, 480, 600)) << "right";
    EXPECT_EQ(panelFrame({480, 820}, QRect(600, 774, 22, 22), QRect(0, 0, 1280, 770)), QRect(370, 0, 480, 770))
        << "taller than the free area: cut to it";
    EXPECT_EQ(panelFrame(panel, QRect(700, 790, 1, 1), QRect(0, 0, 1280, 800)), QRect(460, 186, 480, 600))
        << "a tray without a strut: the pointer's nearest edge";
}

TEST(TrayIconArt, EveryLookReadsOnDarkAndLightPanelsAndAnErrorIsNotAnAnimationFrame) {
    const TrayIconArt::MarkRenderer mark = [](QSize size) {
        return BrandResources::statusSymbolImage(true, size, QStringLiteral("ugc-volley-status"), std::nullopt);
    };
    const auto largestGreyDifference = [](const QImage& icon, QColor panel) {
        QImage shown(icon.size(), QImage::Format_RGB32);
        shown.fill(panel);
        QPainter(&shown).drawImage(0, 0, icon);
        int largest = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) largest = std::max(largest, std::abs(qGray(shown.pixel(x, y)) - qGray(panel.rgb())));
        return largest / 255.0;
    };
    const StatusIconLook looks[] = {{}, {StatusIconAnimator::processingColors[0]}, {StatusIconAnimator::successTint},
                                    {StatusIconAnimator::errorTint, true}};
    for (const StatusIconLook& look : looks)
        for (const QColor panel : {QColor(0x20, 0x20, 0x20), QColor(0xf0, 0xf0, 0xf0), QColor(0x3c, 0x3f, 0x41)}) {
            const double contrast = largestGreyDifference(TrayIconArt::image(look, {22, 22}, mark), panel);
            EXPECT_GE(contrast, 0.6) << look.tint.value_or(Qt::black).name().toStdString() << " on " << panel.name().toStdString();
        }
    EXPECT_NE(TrayIconArt::image(looks[1], {22, 22}, mark), TrayIconArt::image({StatusIconAnimator::errorTint, true}, {22, 22}, mark));
    EXPECT_EQ(TrayIconArt::icon(looks[0], mark, "some-symbolic").name(), "some-symbolic") << "by name where the host recolours";
    EXPECT_EQ(TrayIconArt::icon(looks[2], mark, "some-symbolic").name(), "") << "a tint is ours to draw";
}
