#pragma once

#include "client/UGCGenerationRecords.h"

#include <QAbstractButton>

class QLabel;

namespace vexora {

// One suggested topic: its wording, its hook, and a check when it is the chosen one. Rows from
// the knowledge source are tinted apart from gap rows.
class UGCSuggestionRow : public QAbstractButton {
    Q_OBJECT

public:
    explicit UGCSuggestionRow(const Suggestion& suggestion, QWidget* parent = nullptr);
    void setSelected(bool isSelected);
    bool isSelected() const { return isSelected_; }
    const Suggestion& suggestion() const { return suggestion_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Suggestion suggestion_;
    bool isKnowledge_;
    bool isSelected_ = false;
    QLabel* check_;
};

}  // namespace vexora
