#pragma once

#include "client/UGCContextRecords.h"
#include "client/UGCGenerationRecords.h"

#include <QWidget>

class QComboBox;
class QScrollArea;
class QToolButton;
class QVBoxLayout;

namespace vexora {

class UGCAppState;
class UGCSuggestionRow;

// Where the topic may come from: the favorite product, a knowledge source when the workspace has
// no favorites, and the suggestions drawn from gaps or knowledge.
class UGCSourceControls : public QWidget {
    Q_OBJECT

public:
    explicit UGCSourceControls(UGCAppState& state, QWidget* parent = nullptr);
    void refresh();

private:
    void refreshPickers();
    void refreshSuggestions();

    UGCAppState& state_;
    QComboBox* favoritePicker_;
    QWidget* knowledgeRow_;
    QComboBox* knowledgePicker_;
    QToolButton* gapsButton_;
    QToolButton* knowledgeButton_;
    QScrollArea* suggestionList_;
    QVBoxLayout* suggestionRows_;
    QList<UGCSuggestionRow*> rows_;
    QList<FavoriteOption> shownFavorites_;
    QList<DashboardProduct> shownProducts_;
    QList<Suggestion> shownSuggestions_;
};

}  // namespace vexora
