#pragma once

#include <QLabel>

namespace vexora {

// One line of text that ends in "…" when the row is too narrow for it; the full text stays
// the label's text and its tooltip.
class UGCElidedLabel : public QLabel {
    Q_OBJECT

public:
    UGCElidedLabel(const QString& text, const QString& role, QWidget* parent = nullptr);

    void setFullText(const QString& text);
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace vexora
