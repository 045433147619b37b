#pragma once

#include "client/UGCHistoryRecords.h"
#include "panel/UGCPanelContext.h"

#include <QWidget>
#include <optional>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QScrollArea;
class QToolButton;

namespace vexora {

class CompactActionButton;
class UGCAvatarTile;
class UGCAvatarTraitMenu;
class UGCRemoteAvatarImage;

// The avatar of the next video: a reused face from the library, or traits for a new one.
class UGCAvatarControls : public QWidget {
    Q_OBJECT

public:
    explicit UGCAvatarControls(UGCPanelContext& context, QWidget* parent = nullptr);
    void refresh();

private:
    QWidget* makeHeader();
    QWidget* makeSelectedCard();
    QWidget* makeTraitGrid();
    QWidget* makeEmptyLibrary();
    void refreshLibrary();
    void rebuildTiles();
    void setDeleteRevealedAvatarID(std::optional<QString> id);

    UGCPanelContext& context_;
    UGCAppState& state_;
    std::optional<QString> deleteRevealedAvatarID_;

    QToolButton* refreshButton_;
    QWidget* selectedCard_;
    UGCRemoteAvatarImage* selectedFace_;
    QList<UGCAvatarTraitMenu*> traitMenus_;
    QCheckBox* autoToggle_;
    CompactActionButton* generateButton_;
    QWidget* libraryLine_;
    QLabel* libraryCount_;
    QWidget* emptyLibrary_;
    QLabel* emptyIcon_;
    QLabel* emptyTitle_;
    QLabel* emptyLine_;
    QScrollArea* libraryRow_;
    QHBoxLayout* tilesLayout_;
    QToolButton* moreButton_;
    QList<UGCAvatarTile*> tiles_;
    QList<AvatarListItem> shownAvatars_;
};

}  // namespace vexora
