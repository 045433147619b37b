#include "panel/UGCAvatarControls.h"

#include <algorithm>

#include "panel/UGCAvatarTile.h"
#include "panel/UGCAvatarTraitMenu.h"
#include "panel/UGCRemoteAvatarImage.h"
#include "ui/CompactActionButton.h"
#include "ui/PanelWidgets.h"
#include "ui/SymbolIcon.h"
#include "workflow/UGCAppState.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace vexora {

namespace {

const QString avatarHelp = QStringLiteral(
    "Reuse a generated face or create a fresh 3-credit avatar. New avatars are saved to your reusable library.");
const QString autoHelp = QStringLiteral(
    "Let Vexora choose a valid avatar configuration automatically. Turn it off to select gender, origin, age, role, and scene manually.");

// One trait: its caption, its options, and the state field it edits.
struct TraitBinding {
    QString title;
    const QList<AvatarTraitOption>* options;
    const QString& (UGCAppState::*get)() const;
    void (UGCAppState::*set)(const QString&);
};

const TraitBinding traitBindings[] = {
    {QStringLiteral("Gender"), &UGCAvatarOptions::genders, &UGCAppState::avatarGender, &UGCAppState::setAvatarGender},
    {QStringLiteral("Origin"), &UGCAvatarOptions::origins, &UGCAppState::avatarOrigin, &UGCAppState::setAvatarOrigin},
    {QStringLiteral("Age"), &UGCAvatarOptions::ageRanges, &UGCAppState::avatarAgeRange, &UGCAppState::setAvatarAgeRange},
    {QStringLiteral("Role"), &UGCAvatarOptions::types, &UGCAppState::avatarType, &UGCAppState::setAvatarType},
    {QStringLiteral("Scene"), &UGCAvatarOptions::locations, &UGCAppState::avatarLocation, &UGCAppState::setAvatarLocation},
};

QVBoxLayout* bareColumn(QWidget* owner, int spacing) {
    auto* column = new QVBoxLayout(owner);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(spacing);
    return column;
}

}  // namespace

UGCAvatarControls::UGCAvatarControls(UGCPanelContext& context, QWidget* parent)
    : QWidget(parent), context_(context), state_(context.state) {
    setObjectName(QStringLiteral("ugc.avatar.controls"));
    auto* column = bareColumn(this, 8);
    column->addWidget(makeHeader());
    column->addWidget(makeSelectedCard());
    column->addWidget(makeTraitGrid());

    generateButton_ = new CompactActionButton({}, CompactActionButton::Prominence::secondary, 32);
    generateButton_->setObjectName(QStringLiteral("ugc.avatar.generate"));
    connect(generateButton_, &QPushButton::clicked, this, [this] { state_.generateStandaloneAvatar(); });
    column->addWidget(generateButton_);

    libraryLine_ = new QWidget;
    auto* lineRow = new QHBoxLayout(libraryLine_);
    lineRow->setContentsMargins(0, 2, 0, 0);
    lineRow->addWidget(PanelWidgets::label(QStringLiteral("Or use already generated avatar for free"), QStringLiteral("secondary")), 1);
    libraryCount_ = PanelWidgets::label({}, QStringLiteral("count"));
    libraryCount_->setObjectName(QStringLiteral("ugc.avatar.count"));
    lineRow->addWidget(libraryCount_);
    column->addWidget(libraryLine_);

    column->addWidget(makeEmptyLibrary());
    libraryRow_ = new QScrollArea;
    libraryRow_->setObjectName(QStringLiteral("ugc.avatar.library"));
    libraryRow_->setWidgetResizable(true);
    libraryRow_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    libraryRow_->setFocusPolicy(Qt::NoFocus);  // the tiles take the focus, and scroll into view
    libraryRow_->setFixedHeight(74 + 14);
    auto* strip = new QWidget;
    auto* stripRow = new QHBoxLayout(strip);
    stripRow->setContentsMargins(0, 0, 0, 0);
    stripRow->setSpacing(8);
    tilesLayout_ = new QHBoxLayout;
    tilesLayout_->setSpacing(8);
    stripRow->addLayout(tilesLayout_);
    moreButton_ = PanelWidgets::textButton({}, QStringLiteral("arrow.down.circle"));
    moreButton_->setObjectName(QStringLiteral("ugc.avatar.more"));
    connect(moreButton_, &QToolButton::clicked, this, [this] { state_.fetchAvatars(false); });
    stripRow->addWidget(moreButton_);
    stripRow->addStretch();
    libraryRow_->setWidget(strip);
    column->addWidget(libraryRow_);
    refresh();
}

QWidget* UGCAvatarControls::makeHeader() {
    using namespace PanelWidgets;
    auto* header = new QWidget;
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    row->addWidget(label(QStringLiteral("Avatar"), QStringLiteral("caption")));
    auto* help = symbolLabel(QStringLiteral("info.circle"), 14, avatarHelp);
    identify(help, QStringLiteral("ugc.avatar.help"), QStringLiteral("Avatar help"));
    row->addWidget(help);
    row->addStretch();
    refreshButton_ = iconButton(QStringLiteral("arrow.clockwise"), {}, QStringLiteral("Refresh avatar library"), 30);
    refreshButton_->setObjectName(QStringLiteral("ugc.avatar.refresh"));
    connect(refreshButton_, &QToolButton::clicked, this, [this] { state_.fetchAvatars(true); });
    row->addWidget(refreshButton_);
    return header;
}

QWidget* UGCAvatarControls::makeSelectedCard() {
    using namespace PanelWidgets;
    selectedCard_ = new QFrame;
    identify(selectedCard_, QStringLiteral("ugc.avatar.selected"),
             QStringLiteral("Selected reusable avatar. Avatar generation will be skipped."));
    selectedCard_->setProperty("role", QStringLiteral("inset"));
    auto* row = new QHBoxLayout(selectedCard_);
    row->setContentsMargins(8, 8, 8, 8);
    row->setSpacing(10);
    selectedFace_ = new UGCRemoteAvatarImage(context_.images, 44, 10);
    row->addWidget(selectedFace_);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(label(QStringLiteral("Selected reusable avatar"), QStringLiteral("heading")));
    texts->addWidget(label(QStringLiteral("Avatar generation will be skipped for the next video."), QStringLiteral("secondary")));
    row->addLayout(texts, 1);
    auto* clear = new CompactActionButton(QStringLiteral("Clear"), CompactActionButton::Prominence::secondary, 28);
    clear->setObjectName(QStringLiteral("ugc.avatar.selected.clear"));
    connect(clear, &QPushButton::clicked, this, [this] { state_.clearSelectedAvatar(); });
    row->addWidget(clear);
    return selectedCard_;
}

QWidget* UGCAvatarControls::makeTraitGrid() {
    auto* grid = new QWidget;
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    int cell = 0;
    for (const TraitBinding& binding : traitBindings) {
        auto* menu = new UGCAvatarTraitMenu(binding.title, *binding.options,
                                            [this, set = binding.set](const QString& value) { (state_.*set)(value); });
        layout->addWidget(menu, cell / 3, cell % 3);
        traitMenus_.append(menu);
        ++cell;
    }
    autoToggle_ = new QCheckBox(QStringLiteral("Auto"));
    autoToggle_->setObjectName(QStringLiteral("ugc.avatar.auto"));
    autoToggle_->setIcon(SymbolIcon::icon(QStringLiteral("wand.and.sparkles"), PanelWidgets::Colour::accent));
    autoToggle_->setToolTip(autoHelp);
    connect(autoToggle_, &QCheckBox::clicked, this, [this](bool on) { state_.setAvatarAutoMode(on); });
    layout->addWidget(autoToggle_, cell / 3, cell % 3, Qt::AlignCenter);
    for (int column = 0; column < 3; ++column) layout->setColumnStretch(column, 1);
    return grid;
}

QWidget* UGCAvatarControls::makeEmptyLibrary() {
    using namespace PanelWidgets;
    emptyLibrary_ = new QFrame;
    emptyLibrary_->setObjectName(QStringLiteral("ugc.avatar.empty-library"));
    emptyLibrary_->setProperty("role", QStringLiteral("inset"));
    auto* row = new QHBoxLayout(emptyLibrary_);
    row->setContentsMargins(10, 10, 10, 10);
    row->setSpacing(10);
    emptyIcon_ = new QLabel;
    emptyIcon_->setFixedSize(24, 24);
    row->addWidget(emptyIcon_, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    emptyTitle_ = label({}, QStringLiteral("heading"));
    emptyLine_ = label({}, QStringLiteral("secondary"));
    texts->addWidget(emptyTitle_);
    texts->addWidget(emptyLine_);
    row->addLayout(texts, 1);
    return emptyLibrary_;
}

void UGCAvatarControls::refresh() {
    using namespace PanelWidgets;
    const bool loading = state_.isAvatarsLoading();
    setSymbol(refreshButton_, loading ? QStringLiteral("hourglass") : QStringLiteral("arrow.clockwise"), 15);
    refreshButton_->setAccessibleName(loading ? QStringLiteral("Loading avatars") : QStringLiteral("Refresh avatars"));
    refreshButton_->setEnabled(!loading);

    const OptionalString& reused = state_.reusedAvatarURL();
    selectedCard_->setVisible(reused.has_value());
    if (reused) selectedFace_->setAvatarURL(*reused);

    const bool autoMode = state_.avatarAutoMode();
    for (int index = 0; index < traitMenus_.size(); ++index)
        traitMenus_[index]->refresh((state_.*traitBindings[index].get)(), autoMode);
    autoToggle_->setChecked(autoMode);

    const bool generating = state_.isGeneratingAvatar();
    generateButton_->setTitle(generating ? QStringLiteral("Generating avatar...") : QStringLiteral("Generate new avatar"));
    generateButton_->setEnabled(!generating);
    refreshLibrary();
}

void UGCAvatarControls::refreshLibrary() {
    using namespace PanelWidgets;
    const QList<AvatarListItem>& avatars = state_.avatars();
    const bool loading = state_.isAvatarsLoading();
    libraryLine_->setVisible(!avatars.isEmpty());
    libraryCount_->setText(QString::number(avatars.size()));

    emptyLibrary_->setVisible(avatars.isEmpty());
    setSymbol(emptyIcon_, loading ? QStringLiteral("hourglass") : QStringLiteral("person.crop.circle.badge.plus"), 24);
    emptyTitle_->setText(loading ? QStringLiteral("Loading avatar library...") : QStringLiteral("No reusable avatars yet"));
    emptyLine_->setText(loading ? QStringLiteral("Recent generated faces will appear here.")
                                : QStringLiteral("Generate one here or complete a video to build the library."));

    libraryRow_->setVisible(!avatars.isEmpty());
    if (shownAvatars_ != avatars) rebuildTiles();
    for (UGCAvatarTile* tile : tiles_) {
        const AvatarListItem& avatar = tile->avatar();
        tile->refresh(state_.reusedAvatarURL() == avatar.avatarURL, deleteRevealedAvatarID_ == avatar.id,
                      state_.deletingAvatarIDs().contains(avatar.id));
    }
    moreButton_->setVisible(state_.avatarsHasMore());
    setTitle(moreButton_, loading ? QStringLiteral("Loading") : QStringLiteral("More"));
    setSymbol(moreButton_, loading ? QStringLiteral("hourglass") : QStringLiteral("arrow.down.circle"), 14, Colour::accent);
    moreButton_->setEnabled(!loading);
}

void UGCAvatarControls::rebuildTiles() {
    const QList<AvatarListItem>& avatars = state_.avatars();
    // A page added to the end keeps the tiles already built; building every tile again for each
    // page cost a large library time and memory.
    const bool appended = avatars.size() >= shownAvatars_.size() &&
                          std::equal(shownAvatars_.cbegin(), shownAvatars_.cend(), avatars.cbegin());
    if (!appended) {
        PanelWidgets::clearLayout(tilesLayout_);
        tiles_.clear();
    }
    const qsizetype first = appended ? shownAvatars_.size() : 0;
    shownAvatars_ = avatars;
    auto now = [this] { return state_.clock().now(); };
    for (qsizetype index = first; index < shownAvatars_.size(); ++index) {
        const AvatarListItem avatar = shownAvatars_[index];
        UGCAvatarTile::Actions actions;
        actions.revealDelete = [this, id = avatar.id] { setDeleteRevealedAvatarID(id); };
        actions.cancelDelete = [this, id = avatar.id] {
            if (deleteRevealedAvatarID_ == id) setDeleteRevealedAvatarID(std::nullopt);
        };
        actions.remove = [this, avatar] {
            setDeleteRevealedAvatarID(std::nullopt);
            state_.deleteAvatar(avatar);
        };
        actions.select = [this, avatar] {
            setDeleteRevealedAvatarID(std::nullopt);
            state_.selectAvatar(avatar);
        };
        auto* tile = new UGCAvatarTile(avatar, int(index) + 1, context_.images, now, std::move(actions));
        PanelWidgets::addShown(tilesLayout_, tile);
        tiles_.append(tile);
    }
}

void UGCAvatarControls::setDeleteRevealedAvatarID(std::optional<QString> id) {
    if (deleteRevealedAvatarID_ == id) return;
    deleteRevealedAvatarID_ = std::move(id);
    refreshLibrary();
}

}  // namespace vexora
