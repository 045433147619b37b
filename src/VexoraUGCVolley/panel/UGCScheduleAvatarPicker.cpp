#include "panel/UGCScheduleAvatarPicker.h"

#include "panel/UGCRemoteAvatarImage.h"
#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace vexora {

namespace {

constexpr int faceSide = 40;
constexpr int markSide = 14;

}  // namespace

UGCScheduleAvatarPicker::UGCScheduleAvatarPicker(UGCPanelContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    using namespace PanelWidgets;
    setObjectName(QStringLiteral("ugc.schedule.avatar-picker"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);

    auto* header = new QHBoxLayout;
    header->setSpacing(4);
    header->addWidget(label(QStringLiteral("Schedule avatar"), QStringLiteral("caption")));
    QLabel* help = symbolLabel(QStringLiteral("info.circle"), 12,
                               QStringLiteral("Pick a reusable avatar for every scheduled UGC run. Generate a new avatar in "
                                              "the Avatar block above if the library is empty."));
    identify(help, QStringLiteral("ugc.schedule.avatar-help"), QStringLiteral("Schedule avatar help"));
    header->addWidget(help);
    header->addStretch();
    useSelected_ = textButton(QStringLiteral("Use selected"), QStringLiteral("checkmark.circle"));
    useSelected_->setObjectName(QStringLiteral("ugc.schedule.use-selected"));
    connect(useSelected_, &QToolButton::clicked, this, [this] {
        if (const auto& reused = context_.state.reusedAvatarURL()) chooseAvatar(*reused);
    });
    header->addWidget(useSelected_);
    column->addLayout(header);

    selected_ = buildSelected();
    column->addWidget(selected_);
    libraryNotice_ = buildLibraryNotice();
    column->addWidget(libraryNotice_);

    faces_ = new QScrollArea;
    faces_->setObjectName(QStringLiteral("ugc.schedule.avatar-library"));
    faces_->setWidgetResizable(true);
    faces_->setFrameShape(QFrame::NoFrame);
    faces_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    faces_->setFocusPolicy(Qt::NoFocus);  // the faces take the focus, and scroll into view
    faces_->setFixedHeight(faceSide + 12);  // room for the thin scroll bar
    auto* strip = new QWidget;
    facesRow_ = new QHBoxLayout(strip);
    facesRow_->setContentsMargins(0, 0, 0, 0);
    facesRow_->setSpacing(6);
    facesRow_->addStretch();
    faces_->setWidget(strip);
    column->addWidget(faces_);
}

QWidget* UGCScheduleAvatarPicker::buildSelected() {
    using namespace PanelWidgets;
    auto* selected = new QFrame;
    selected->setObjectName(QStringLiteral("ugc.schedule.avatar-selected"));
    selected->setProperty("role", QStringLiteral("inset"));
    auto* row = new QHBoxLayout(selected);
    row->setContentsMargins(8, 6, 8, 6);
    row->setSpacing(10);
    selectedFace_ = new UGCRemoteAvatarImage(context_.images, 32, 16);
    row->addWidget(selectedFace_);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(0);
    texts->addWidget(label(QStringLiteral("Avatar selected"), QStringLiteral("heading")));
    texts->addWidget(label(QStringLiteral("This face will be reused by the schedule."), QStringLiteral("secondary")));
    row->addLayout(texts, 1);
    QToolButton* clear = textButton(QStringLiteral("Clear"), QStringLiteral("xmark"));
    clear->setObjectName(QStringLiteral("ugc.schedule.avatar-clear"));
    connect(clear, &QToolButton::clicked, this, [this] { chooseAvatar(QString()); });
    row->addWidget(clear);
    return selected;
}

QWidget* UGCScheduleAvatarPicker::buildLibraryNotice() {
    using namespace PanelWidgets;
    auto* notice = new QWidget;
    notice->setObjectName(QStringLiteral("ugc.schedule.avatar-library-empty"));
    auto* row = new QHBoxLayout(notice);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    libraryNoticeIcon_ = new QLabel;
    libraryNoticeIcon_->setFixedSize(16, 16);
    libraryNoticeText_ = label({}, QStringLiteral("secondary"));
    row->addWidget(libraryNoticeIcon_, 0, Qt::AlignTop);
    row->addWidget(libraryNoticeText_, 1);
    return notice;
}

UGCScheduleAvatarPicker::Face UGCScheduleAvatarPicker::makeFace(const AvatarListItem& item) {
    auto* button = new QToolButton;
    PanelWidgets::identify(button, QStringLiteral("ugc.schedule.avatar.") + item.id, QStringLiteral("Use avatar for schedule"));
    button->setFixedSize(faceSide, faceSide);
    button->setCursor(Qt::PointingHandCursor);
    auto* image = new UGCRemoteAvatarImage(context_.images, faceSide - 4, (faceSide - 4) / 2.0, button);
    image->move(2, 2);
    image->setAttribute(Qt::WA_TransparentForMouseEvents);
    image->setAvatarURL(item.avatarURL);
    QLabel* mark = PanelWidgets::symbolLabel(QStringLiteral("checkmark.circle.fill"), markSide, {}, PanelWidgets::Colour::accent);
    mark->setParent(button);
    mark->move(faceSide - markSide, faceSide - markSide);
    mark->setAttribute(Qt::WA_TransparentForMouseEvents);
    mark->hide();
    const QString avatarURL = item.avatarURL;
    connect(button, &QToolButton::clicked, this, [this, avatarURL] { chooseAvatar(avatarURL); });
    return Face{button, mark, avatarURL};
}

void UGCScheduleAvatarPicker::chooseAvatar(const QString& avatarURL) {
    ScheduleDraft draft = context_.state.scheduleDraft();
    draft.avatarURL = avatarURL;
    context_.state.setScheduleDraft(draft);
}

void UGCScheduleAvatarPicker::refresh() {
    const UGCAppState& state = context_.state;
    const QString& chosen = state.scheduleDraft().avatarURL;
    // Offered when the generator holds a reusable avatar the schedule does not use yet.
    const OptionalString& reused = state.reusedAvatarURL();
    useSelected_->setVisible(reused && !reused->isEmpty() && *reused != chosen);
    selected_->setVisible(!chosen.isEmpty());
    selectedFace_->setAvatarURL(chosen);
    refreshLibrary();
}

void UGCScheduleAvatarPicker::refreshLibrary() {
    using namespace PanelWidgets;
    const UGCAppState& state = context_.state;
    const QList<AvatarListItem>& avatars = state.avatars();
    libraryNotice_->setVisible(avatars.isEmpty());
    faces_->setVisible(!avatars.isEmpty());
    if (avatars.isEmpty()) {
        const bool loading = state.isAvatarsLoading();
        setSymbol(libraryNoticeIcon_, loading ? QStringLiteral("hourglass") : QStringLiteral("person.crop.circle.badge.plus"), 16);
        libraryNoticeText_->setText(loading ? QStringLiteral("Loading avatar library...")
                                            : QStringLiteral("No reusable avatars yet. Generate one above to schedule UGC."));
    }
    if (shownAvatars_ != avatars) {
        shownAvatars_ = avatars;
        clearLayout(facesRow_);
        faceButtons_.clear();
        for (const AvatarListItem& item : avatars) {
            faceButtons_.append(makeFace(item));
            addShown(facesRow_, faceButtons_.last().button);
        }
        facesRow_->addStretch();
    }
    const QString& chosen = state.scheduleDraft().avatarURL;
    for (const Face& face : faceButtons_) face.mark->setVisible(!chosen.isEmpty() && face.avatarURL == chosen);
}

}  // namespace vexora
