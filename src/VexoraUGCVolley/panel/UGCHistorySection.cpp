#include "panel/UGCHistorySection.h"

#include "panel/UGCDisclosureHeader.h"
#include "panel/UGCHistoryPaging.h"
#include "panel/UGCHistoryRow.h"
#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace vexora {

UGCHistorySection::UGCHistorySection(UGCPanelContext& context, int pageIndex, int pageSize, QWidget* parent)
    : QWidget(parent), context_(context), pageIndex_(pageIndex), pageSize_(pageSize) {
    PanelWidgets::identifySection(this, QStringLiteral("ugc.history.section"), QStringLiteral("History"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    header_ = new UGCDisclosureHeader(QStringLiteral("History"));
    header_->setObjectName(QStringLiteral("ugc.history.disclosure"));
    connect(header_, &QPushButton::clicked, this,
            [this] { context_.state.setIsHistoryExpanded(!context_.state.isHistoryExpanded()); });
    column->addWidget(header_);

    content_ = new QWidget;
    auto* contentColumn = new QVBoxLayout(content_);
    contentColumn->setContentsMargins(0, 0, 0, 0);
    contentColumn->setSpacing(8);
    emptyNotice_ = buildEmptyNotice();
    list_ = buildList();
    contentColumn->addWidget(emptyNotice_);
    contentColumn->addWidget(list_);
    column->addWidget(content_);
    content_->hide();
}

QFrame* UGCHistorySection::buildEmptyNotice() {
    using namespace PanelWidgets;
    auto* notice = new QFrame;
    notice->setObjectName(QStringLiteral("ugc.history.empty"));
    notice->setProperty("role", QStringLiteral("inset"));
    auto* row = new QHBoxLayout(notice);
    row->setContentsMargins(12, 10, 10, 10);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(label(QStringLiteral("History is empty."), QStringLiteral("heading")));
    texts->addWidget(label(QStringLiteral("No UGC history for this workspace yet."), QStringLiteral("secondary")));
    row->addLayout(texts, 1);
    QToolButton* dismiss = textButton(QStringLiteral("Dismiss"), QStringLiteral("xmark"));
    dismiss->setObjectName(QStringLiteral("ugc.history.dismiss"));
    connect(dismiss, &QToolButton::clicked, this, [this] { context_.state.setIsEmptyHistoryDismissed(true); });
    row->addWidget(dismiss, 0, Qt::AlignVCenter);
    return notice;
}

QWidget* UGCHistorySection::buildList() {
    using namespace PanelWidgets;
    auto* list = new QWidget;
    list->setObjectName(QStringLiteral("ugc.history.list"));
    auto* column = new QVBoxLayout(list);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);

    auto* header = new QHBoxLayout;
    loaded_ = label({}, QStringLiteral("secondary"));
    loaded_->setObjectName(QStringLiteral("ugc.history.loaded"));
    page_ = label({}, QStringLiteral("count"));
    page_->setObjectName(QStringLiteral("ugc.history.page"));
    header->addWidget(loaded_);
    header->addStretch();
    header->addWidget(page_);
    column->addLayout(header);

    rowsLayout_ = new QVBoxLayout;
    rowsLayout_->setSpacing(4);
    column->addLayout(rowsLayout_);

    auto* footer = new QHBoxLayout;
    previous_ = iconButton(QStringLiteral("chevron.left"), QStringLiteral("Previous"), QStringLiteral("Previous history page"), 28);
    previous_->setObjectName(QStringLiteral("ugc.history.previous"));
    connect(previous_, &QToolButton::clicked, this, [this] {
        showPage(UGCHistoryPage::of(int(context_.state.history().size()), pageIndex_, pageSize_).shownPage - 1);
    });
    loadMore_ = textButton(QStringLiteral("Load more history"), QStringLiteral("arrow.down.circle"));
    loadMore_->setObjectName(QStringLiteral("ugc.history.load-more"));
    connect(loadMore_, &QToolButton::clicked, this, [this] { context_.state.loadMoreHistory(); });
    next_ = iconButton(QStringLiteral("chevron.right"), QStringLiteral("Next"), QStringLiteral("Next history page"), 28);
    next_->setObjectName(QStringLiteral("ugc.history.next"));
    connect(next_, &QToolButton::clicked, this, [this] {
        showPage(UGCHistoryPage::of(int(context_.state.history().size()), pageIndex_, pageSize_).shownPage + 1);
    });
    footer->addWidget(previous_);
    footer->addStretch();
    footer->addWidget(loadMore_);
    footer->addStretch();
    footer->addWidget(next_);
    column->addLayout(footer);
    return list;
}

// Steps from the shown page, so an index left past a shorter reloaded list never makes a
// click change nothing on screen.
void UGCHistorySection::showPage(int pageIndex) {
    const UGCHistoryPage page = UGCHistoryPage::of(int(context_.state.history().size()), pageIndex_, pageSize_);
    pageIndex_ = std::clamp(pageIndex, 0, page.pageCount - 1);
    refresh();
}

void UGCHistorySection::refresh() {
    const UGCAppState& state = context_.state;
    header_->setExpanded(state.isHistoryExpanded());
    content_->setVisible(state.isHistoryExpanded());
    if (!state.isHistoryExpanded()) return;
    const bool empty = state.history().isEmpty();
    emptyNotice_->setVisible(empty && !state.isEmptyHistoryDismissed());
    list_->setVisible(!empty);
    if (!empty) refreshList();
}

void UGCHistorySection::refreshList() {
    using namespace PanelWidgets;
    const UGCAppState& state = context_.state;
    const QList<UGCHistoryItem>& history = state.history();
    const UGCHistoryPage page = UGCHistoryPage::of(int(history.size()), pageIndex_, pageSize_);
    loaded_->setText(QStringLiteral("%1 loaded").arg(history.size()));
    page_->setText(QStringLiteral("Page %1 of %2").arg(page.shownPage + 1).arg(page.pageCount));
    previous_->setEnabled(!page.isFirst());
    next_->setEnabled(!page.isLast());

    const bool loading = state.isHistoryLoading();
    setTitle(loadMore_, loading ? QStringLiteral("Loading more history") : QStringLiteral("Load more history"));
    setSymbol(loadMore_, loading ? QStringLiteral("hourglass") : QStringLiteral("arrow.down.circle"), 14, Colour::accent);
    loadMore_->setEnabled(!loading);

    const QList<UGCHistoryItem> visible = history.mid(page.first, page.count);
    if (shownItems_ != visible) {
        shownItems_ = visible;
        clearLayout(rowsLayout_);
        rows_.clear();
        for (const UGCHistoryItem& item : visible) {
            if (!rows_.isEmpty()) {
                auto* divider = new QFrame;
                divider->setProperty("role", QStringLiteral("divider"));
                addShown(rowsLayout_, divider);
            }
            rows_.append(new UGCHistoryRow(context_, item));
            addShown(rowsLayout_, rows_.last());
        }
        return;
    }
    for (UGCHistoryRow* row : rows_) row->refresh();
}

}  // namespace vexora
