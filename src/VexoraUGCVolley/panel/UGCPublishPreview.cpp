#include "panel/UGCPublishPreview.h"

#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace vexora {

namespace {

constexpr int accountTitleWidth = 220;  // px; a longer account name is cut short

const QString autoPublishHelp = QStringLiteral(
    "When enabled, the rendered video publishes automatically to the connected accounts selected below without another manual click.");

QString platformName(UGCPlatform platform) {
    return platform == UGCPlatform::tiktok ? QStringLiteral("TikTok") : QStringLiteral("Instagram");
}

}  // namespace

UGCPublishPreview::UGCPublishPreview(UGCAppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    using namespace PanelWidgets;
    setObjectName(QStringLiteral("ugc.publish.preview"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);

    auto* switchRow = new QHBoxLayout;
    switchRow->setSpacing(4);
    autoPublish_ = new QCheckBox(QStringLiteral("Auto-publish after render"));
    autoPublish_->setObjectName(QStringLiteral("ugc.publish.auto"));
    connect(autoPublish_, &QCheckBox::clicked, this, [this](bool on) { state_.setAutoPublish(on); });
    switchRow->addWidget(autoPublish_);
    auto* help = symbolLabel(QStringLiteral("info.circle"), 14, autoPublishHelp);
    identify(help, QStringLiteral("ugc.publish.auto.help"), QStringLiteral("Auto-publish help"));
    switchRow->addWidget(help);
    switchRow->addStretch();
    column->addLayout(switchRow);

    for (UGCPlatform platform : {UGCPlatform::tiktok, UGCPlatform::instagram}) {
        rows_.append(makeAccountRow(platform));
        column->addWidget(rows_.back().row);
    }
    refresh();
}

UGCPublishPreview::AccountRow UGCPublishPreview::makeAccountRow(UGCPlatform platform) {
    using namespace PanelWidgets;
    const QString name = platformName(platform);
    AccountRow made{platform, new QFrame, nullptr, nullptr, {}};
    identify(made.row, QStringLiteral("ugc.publish.account.") + accountKey(platform), name + QStringLiteral(" publish account"));
    made.row->setProperty("role", QStringLiteral("inset"));
    auto* row = new QHBoxLayout(made.row);
    row->setContentsMargins(8, 6, 8, 6);
    row->setSpacing(8);
    row->addWidget(symbolLabel(platform == UGCPlatform::tiktok ? QStringLiteral("music.note") : QStringLiteral("camera.viewfinder"),
                               24, {}, Colour::text));
    auto* title = label(name, QStringLiteral("heading"));
    title->setFixedWidth(130);
    row->addWidget(title);
    row->addStretch();
    made.pill = label({}, QStringLiteral("pill-muted"));
    made.pill->setObjectName(QStringLiteral("ugc.publish.account.") + accountKey(platform) + QStringLiteral(".status"));
    row->addWidget(made.pill);
    made.menu = new QToolButton;
    made.menu->setObjectName(QStringLiteral("ugc.publish.account.") + accountKey(platform) + QStringLiteral(".menu"));
    made.menu->setPopupMode(QToolButton::InstantPopup);
    made.menu->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    made.menu->setLayoutDirection(Qt::RightToLeft);  // the chevron after the name
    setSymbol(made.menu, QStringLiteral("chevron.up.chevron.down"), 12);
    made.menu->setMenu(new QMenu(made.menu));
    made.menu->menu()->setLayoutDirection(Qt::LeftToRight);
    row->addWidget(made.menu);
    return made;
}

void UGCPublishPreview::refresh() {
    autoPublish_->setChecked(state_.autoPublish());
    for (AccountRow& row : rows_) refreshRow(row);
}

void UGCPublishPreview::refreshRow(AccountRow& row) {
    using namespace PanelWidgets;
    const QString name = platformName(row.platform);
    const bool locked = state_.connectionLocks().isLocked(row.platform);
    const QList<ConnectedSocialAccount> accounts = state_.accounts(row.platform);
    row.pill->setVisible(locked || accounts.isEmpty());
    row.menu->setVisible(!locked && !accounts.isEmpty());
    if (locked) {
        row.pill->setText(QStringLiteral("Locked"));
        setRole(row.pill, QStringLiteral("pill-danger"));
        row.row->setAccessibleDescription(QStringLiteral("Publishing to ") + name + QStringLiteral(" is temporarily locked."));
    } else if (accounts.isEmpty()) {
        row.pill->setText(QStringLiteral("Not connected"));
        setRole(row.pill, QStringLiteral("pill-muted"));
        row.row->setAccessibleDescription(QStringLiteral("Connect a ") + name + QStringLiteral(" account on the web dashboard."));
    } else {
        row.row->setAccessibleDescription(QStringLiteral("Choose the ") + name + QStringLiteral(" account used for publishing."));
    }

    if (row.shownAccounts != accounts) {
        row.shownAccounts = accounts;
        QMenu* menu = row.menu->menu();
        menu->clear();
        for (const ConnectedSocialAccount& account : accounts) {
            QAction* item = menu->addAction(account.displayName());
            item->setObjectName(row.menu->objectName() + QLatin1Char('.') + account.id);
            connect(item, &QAction::triggered, this,
                    [this, id = account.id, platform = row.platform] { state_.setSelectedPublishAccountID(id, platform); });
        }
    }
    const OptionalString selectedID = state_.selectedPublishAccountID(row.platform);
    QString title = QStringLiteral("Choose account");
    for (const ConnectedSocialAccount& account : accounts)
        if (selectedID && account.id == *selectedID) title = account.displayName();
    setLongTitle(row.menu, title, accountTitleWidth);
}

}  // namespace vexora
