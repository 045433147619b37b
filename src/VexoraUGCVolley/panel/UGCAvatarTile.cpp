#include "panel/UGCAvatarTile.h"

#include "panel/UGCRemoteAvatarImage.h"
#include "ui/PanelWidgets.h"
#include "ui/SymbolIcon.h"

#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QToolButton>

namespace vexora {

namespace {

constexpr int side = 74;
constexpr int inset = 3;  // room for the selection ring

QString tileLabel(const AvatarListItem& avatar, std::optional<int> ordinal) {
    QString text = QStringLiteral("Reusable avatar");
    if (ordinal) text += QLatin1Char(' ') + QString::number(*ordinal);
    text += QStringLiteral(", id ") + avatar.id;
    if (avatar.createdAt) text += QStringLiteral(", created ") + *avatar.createdAt;
    return text;
}

}  // namespace

UGCAvatarTile::UGCAvatarTile(const AvatarListItem& avatar, std::optional<int> ordinal, UGCAvatarImageCache* images,
                             std::function<double()> now, Actions actions, QWidget* parent)
    : QAbstractButton(parent), avatar_(avatar), now_(std::move(now)), actions_(std::move(actions)) {
    using namespace PanelWidgets;
    identify(this, QStringLiteral("ugc.avatar.tile.") + avatar.id, tileLabel(avatar, ordinal));
    setFixedSize(side, side);
    setCursor(Qt::PointingHandCursor);

    face_ = new UGCRemoteAvatarImage(images, side - 2 * inset, 12, this);
    face_->move(inset, inset);
    face_->setAttribute(Qt::WA_TransparentForMouseEvents);
    face_->setAvatarURL(avatar.avatarURL);

    badge_ = symbolLabel(QStringLiteral("checkmark.circle.fill"), 18, {}, Colour::accent);
    badge_->setParent(this);
    badge_->move(side - 22, 4);
    badge_->setAttribute(Qt::WA_TransparentForMouseEvents);

    delete_ = iconButton(QStringLiteral("xmark"), QStringLiteral("Delete reusable avatar"),
                         QStringLiteral("Delete avatar permanently"), 22);
    delete_->setParent(this);
    delete_->setObjectName(QStringLiteral("ugc.avatar.delete.") + avatar.id);
    delete_->move(4, 4);
    connect(delete_, &QToolButton::clicked, this, [this] { actions_.remove(); });

    auto* deleteItem = new QAction(SymbolIcon::icon(QStringLiteral("trash"), Colour::danger), QStringLiteral("Delete avatar"), this);
    deleteItem->setObjectName(QStringLiteral("ugc.avatar.context-delete.") + avatar.id);
    connect(deleteItem, &QAction::triggered, this, [this] { actions_.remove(); });
    addAction(deleteItem);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(this, &QAbstractButton::clicked, this, &UGCAvatarTile::activate);
    refresh(false, false, false);
}

bool UGCAvatarTile::hasImage() const { return face_->hasImage(); }

void UGCAvatarTile::activate() {
    if (isDeleteRevealed_) {
        lastActivationAt_ = -std::numeric_limits<double>::infinity();
        actions_.cancelDelete();
        return;
    }
    const double now = now_();
    if (now - lastActivationAt_ <= doubleClickInterval) {
        lastActivationAt_ = -std::numeric_limits<double>::infinity();
        actions_.revealDelete();
        return;
    }
    lastActivationAt_ = now;
    actions_.select();
}

void UGCAvatarTile::refresh(bool isSelected, bool isDeleteRevealed, bool isDeleting) {
    using namespace PanelWidgets;
    if (isSelected_ != isSelected || isDeleteRevealed_ != isDeleteRevealed) update();
    isSelected_ = isSelected;
    isDeleteRevealed_ = isDeleteRevealed;
    badge_->setVisible(isSelected);
    delete_->setVisible(isDeleteRevealed);
    delete_->setEnabled(!isDeleting);
    setSymbol(delete_, isDeleting ? QStringLiteral("hourglass") : QStringLiteral("xmark"), 11);
    setToolTip(isDeleteRevealed ? QStringLiteral("Click the avatar to cancel delete.")
                                : QStringLiteral("Click to select. Double-click to show delete."));
    setAccessibleValue(this, isDeleteRevealed ? QStringLiteral("Delete button visible")
                             : isSelected     ? QStringLiteral("Selected")
                                              : QStringLiteral("Not selected"));
    setAccessibleDescription(isDeleteRevealed
                                 ? QStringLiteral("Click the avatar to cancel delete, or click delete to remove it permanently.")
                                 : QStringLiteral("Click to select. Double-click to show the delete button."));
}

void UGCAvatarTile::paintEvent(QPaintEvent*) {
    if (!isSelected_ && !isDeleteRevealed_) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(isDeleteRevealed_ ? PanelWidgets::Colour::danger : PanelWidgets::Colour::accent, 2.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 14, 14);
}

}  // namespace vexora
