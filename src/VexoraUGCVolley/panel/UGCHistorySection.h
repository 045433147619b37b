#pragma once

#include "client/UGCHistoryRecords.h"
#include "panel/UGCPanelContext.h"

#include <QList>
#include <QWidget>
#include <optional>

class QFrame;
class QLabel;
class QToolButton;
class QVBoxLayout;

namespace vexora {

class UGCDisclosureHeader;
class UGCHistoryRow;

// The workspace's earlier generations, a page of the loaded entries at a time, with a way to
// load older ones.
class UGCHistorySection : public QWidget {
    Q_OBJECT

public:
    UGCHistorySection(UGCPanelContext& context, int pageIndex, int pageSize, QWidget* parent = nullptr);
    void refresh();

private:
    QFrame* buildEmptyNotice();
    QWidget* buildList();
    void refreshList();
    void showPage(int pageIndex);

    UGCPanelContext& context_;
    int pageIndex_;
    int pageSize_;
    UGCDisclosureHeader* header_;
    QWidget* content_;
    QFrame* emptyNotice_;
    QWidget* list_;
    QLabel* loaded_;
    QLabel* page_;
    QVBoxLayout* rowsLayout_;
    QList<UGCHistoryRow*> rows_;
    std::optional<QList<UGCHistoryItem>> shownItems_;
    QToolButton* previous_;
    QToolButton* loadMore_;
    QToolButton* next_;
};

}  // namespace vexora
