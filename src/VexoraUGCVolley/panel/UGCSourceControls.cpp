#include "panel/UGCSourceControls.h"

#include "config/UGCAppConfiguration.h"
#include "panel/UGCSuggestionRow.h"
#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace vexora {

namespace {

const QString favoritesHelp =
    QStringLiteral("Favorites are your saved products in Vexora. Add one on the website: AI Insights > My Product.");

template <class Record, class NameOf>
void fillPicker(QComboBox* picker, const QString& noneTitle, const QList<Record>& records, NameOf nameOf) {
    QList<std::pair<QString, QString>> items;
    for (const Record& record : records) items.append({nameOf(record), record.id});
    PanelWidgets::setPickerItems(picker, noneTitle, items);
}

void selectItem(QComboBox* picker, const OptionalString& id) {
    const int index = picker->findData(id.value_or(QString()));
    picker->setCurrentIndex(index < 0 ? 0 : index);
}

OptionalString chosenID(QComboBox* picker) {
    const QString id = picker->currentData().toString();
    return id.isEmpty() ? std::nullopt : OptionalString(id);
}

QToolButton* modeButton(const QString& identifier, const QString& symbol) {
    auto* button = PanelWidgets::textButton({}, symbol);
    button->setObjectName(identifier);
    button->setProperty("menuButton", true);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setFixedHeight(30);
    return button;
}

}  // namespace

UGCSourceControls::UGCSourceControls(UGCAppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    using namespace PanelWidgets;
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);

    auto* caption = new QHBoxLayout;
    caption->setSpacing(4);
    QLabel* favoriteCaption = label(QStringLiteral("Favorite"), QStringLiteral("caption"));
    caption->addWidget(favoriteCaption);
    auto* info = new QToolButton;
    setSymbol(info, QStringLiteral("info.circle"), 14);
    identify(info, QStringLiteral("ugc.favorite.info"), QStringLiteral("Favorite help"));
    info->setToolTip(favoritesHelp);
    info->setCursor(Qt::PointingHandCursor);
    connect(info, &QToolButton::clicked, this, [this] {
        state_.openInBrowser(UGCAppConfiguration::core().apiBaseURL().resolved(QUrl(QStringLiteral("dashboard/ai-insights"))));
    });
    caption->addWidget(info);
    caption->addStretch();
    column->addLayout(caption);

    favoritePicker_ = PanelWidgets::picker();
    identify(favoritePicker_, QStringLiteral("ugc.favorite.picker"), QStringLiteral("Favorite"));
    // AT-SPI names a combo box after its current item; the caption reaches screen readers as its label.
    favoriteCaption->setBuddy(favoritePicker_);
    connect(favoritePicker_, &QComboBox::activated, this, [this] {
        state_.setSelectedFavoriteID(chosenID(favoritePicker_));
        state_.selectedFavoriteDidChange();
    });
    column->addWidget(favoritePicker_);

    knowledgeRow_ = new QWidget;
    auto* knowledgeLayout = new QVBoxLayout(knowledgeRow_);
    knowledgeLayout->setContentsMargins(0, 4, 0, 0);
    knowledgeLayout->setSpacing(6);
    QLabel* knowledgeCaption = label(QStringLiteral("Knowledge source"), QStringLiteral("caption"));
    knowledgeLayout->addWidget(knowledgeCaption);
    knowledgePicker_ = PanelWidgets::picker();
    identify(knowledgePicker_, QStringLiteral("ugc.knowledge-source.picker"), QStringLiteral("Knowledge source"));
    knowledgeCaption->setBuddy(knowledgePicker_);
    connect(knowledgePicker_, &QComboBox::activated, this, [this] { state_.setSelectedProductID(chosenID(knowledgePicker_)); });
    knowledgeLayout->addWidget(knowledgePicker_);
    column->addWidget(knowledgeRow_);

    auto* actions = new QWidget;
    actions->setObjectName(QStringLiteral("ugc.suggestion.actions"));
    auto* actionsRow = new QHBoxLayout(actions);
    actionsRow->setContentsMargins(0, 4, 0, 0);
    actionsRow->setSpacing(8);
    gapsButton_ = modeButton(QStringLiteral("ugc.suggestion.gaps"), QStringLiteral("sparkles"));
    knowledgeButton_ = modeButton(QStringLiteral("ugc.suggestion.knowledge"), QStringLiteral("book.closed"));
    setTitle(knowledgeButton_, QStringLiteral("Suggest from knowledge"));
    connect(gapsButton_, &QToolButton::clicked, this, [this] { state_.suggest(false); });
    connect(knowledgeButton_, &QToolButton::clicked, this, [this] { state_.suggest(true); });
    actionsRow->addWidget(gapsButton_);
    actionsRow->addWidget(knowledgeButton_);
    column->addWidget(actions);

    suggestionList_ = new QScrollArea;
    identify(suggestionList_, QStringLiteral("ugc.suggestions.list"), QStringLiteral("Topic suggestions"));
    suggestionList_->setWidgetResizable(true);
    suggestionList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    suggestionList_->setMaximumHeight(188);
    auto* rowsHolder = new QWidget;
    suggestionRows_ = new QVBoxLayout(rowsHolder);
    suggestionRows_->setContentsMargins(0, 0, 0, 0);
    suggestionRows_->setSpacing(6);
    suggestionList_->setWidget(rowsHolder);
    column->addWidget(suggestionList_);
    refresh();
}

void UGCSourceControls::refresh() {
    refreshPickers();
    const bool suggesting = state_.isSuggesting();
    PanelWidgets::setTitle(gapsButton_, suggesting ? QStringLiteral("Finding gaps...") : QStringLiteral("Suggest from gaps"));
    gapsButton_->setEnabled(!suggesting);
    knowledgeButton_->setEnabled(!suggesting && state_.selectedFavoriteID().has_value());
    refreshSuggestions();
}

void UGCSourceControls::refreshPickers() {
    if (shownFavorites_ != state_.favorites() || favoritePicker_->count() == 0) {
        shownFavorites_ = state_.favorites();
        fillPicker(favoritePicker_, QStringLiteral("No favorite"), shownFavorites_, [](const FavoriteOption& favorite) { return favorite.displayName(); });
    }
    selectItem(favoritePicker_, state_.selectedFavoriteID());
    if (shownProducts_ != state_.products() || knowledgePicker_->count() == 0) {
        shownProducts_ = state_.products();
        fillPicker(knowledgePicker_, QStringLiteral("No knowledge source"), shownProducts_,
                   [](const DashboardProduct& product) { return product.name; });
    }
    selectItem(knowledgePicker_, state_.selectedProductID());
    knowledgeRow_->setVisible(state_.favorites().isEmpty());
}

void UGCSourceControls::refreshSuggestions() {
    if (shownSuggestions_ != state_.suggestions()) {
        shownSuggestions_ = state_.suggestions();
        PanelWidgets::clearLayout(suggestionRows_);
        rows_.clear();
        for (const Suggestion& suggestion : shownSuggestions_) {
            auto* row = new UGCSuggestionRow(suggestion);
            connect(row, &QAbstractButton::clicked, this, [this, suggestion] {
                state_.setSelectedSuggestion(suggestion);
                state_.setTopic(suggestion.topic);
            });
            PanelWidgets::addShown(suggestionRows_, row);
            rows_.append(row);
        }
    }
    suggestionList_->setVisible(!shownSuggestions_.isEmpty());
    const OptionalSuggestion& selected = state_.selectedSuggestion();
    for (UGCSuggestionRow* row : rows_) row->setSelected(selected && selected->id() == row->suggestion().id());
}

}  // namespace vexora
