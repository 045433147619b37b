#pragma once

#include "client/UGCHistoryRecords.h"

#include <QAbstractButton>
#include <functional>
#include <limits>
#include <optional>

class QLabel;
class QToolButton;

namespace vexora {

class UGCAvatarImageCache;
class UGCRemoteAvatarImage;

// One face of the avatar library. A click selects it; a second click within the double-click
// interval shows its delete button instead; a click while that button shows hides it again.
class UGCAvatarTile : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(bool hasImage READ hasImage)

public:
    struct Actions {
        std::function<void()> revealDelete;
        std::function<void()> cancelDelete;
        std::function<void()> remove;
        std::function<void()> select;
    };

    static constexpr double doubleClickInterval = 0.45;

    UGCAvatarTile(const AvatarListItem& avatar, std::optional<int> ordinal, UGCAvatarImageCache* images,
                  std::function<double()> now, Actions actions, QWidget* parent = nullptr);

    void refresh(bool isSelected, bool isDeleteRevealed, bool isDeleting);
    const AvatarListItem& avatar() const { return avatar_; }
    bool hasImage() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void activate();

    AvatarListItem avatar_;
    std::function<double()> now_;
    Actions actions_;
    double lastActivationAt_ = -std::numeric_limits<double>::infinity();
    bool isSelected_ = false;
    bool isDeleteRevealed_ = false;
    UGCRemoteAvatarImage* face_;
    QLabel* badge_;
    QToolButton* delete_;
};

}  // namespace vexora
