#pragma once

#include "client/UGCHistoryRecords.h"
#include "panel/UGCPanelContext.h"

#include <QList>
#include <QWidget>
#include <optional>

class QHBoxLayout;
class QLabel;
class QScrollArea;
class QToolButton;

namespace vexora {

class UGCRemoteAvatarImage;

// Which library face the schedule reuses for every run.
class UGCScheduleAvatarPicker : public QWidget {
    Q_OBJECT

public:
    explicit UGCScheduleAvatarPicker(UGCPanelContext& context, QWidget* parent = nullptr);
    void refresh();

private:
    struct Face {
        QToolButton* button;
        QLabel* mark;  // on the face the draft uses
        QString avatarURL;
    };

    QWidget* buildSelected();
    QWidget* buildLibraryNotice();
    void chooseAvatar(const QString& avatarURL);
    void refreshLibrary();
    Face makeFace(const AvatarListItem& item);

    UGCPanelContext& context_;
    QToolButton* useSelected_;
    QWidget* selected_;
    UGCRemoteAvatarImage* selectedFace_;
    QWidget* libraryNotice_;
    QLabel* libraryNoticeIcon_;
    QLabel* libraryNoticeText_;
    QScrollArea* faces_;
    QHBoxLayout* facesRow_;
    QList<Face> faceButtons_;
    std::optional<QList<AvatarListItem>> shownAvatars_;
};

}  // namespace vexora
