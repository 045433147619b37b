#pragma once

#include "client/UGCContextRecords.h"
#include "client/UGCTypes.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QToolButton;

namespace vexora {

class UGCAppState;

// Where a finished video goes: the auto-publish switch and one account row per platform.
class UGCPublishPreview : public QWidget {
    Q_OBJECT

public:
    explicit UGCPublishPreview(UGCAppState& state, QWidget* parent = nullptr);
    void refresh();

private:
    // The platform's pill ("Locked", "Not connected") or its account menu.
    struct AccountRow {
        UGCPlatform platform;
        QWidget* row;
        QLabel* pill;
        QToolButton* menu;
        QList<ConnectedSocialAccount> shownAccounts;
    };

    AccountRow makeAccountRow(UGCPlatform platform);
    void refreshRow(AccountRow& row);

    UGCAppState& state_;
    QCheckBox* autoPublish_;
    QList<AccountRow> rows_;
};

}  // namespace vexora
