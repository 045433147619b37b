#pragma once

#include <QLabel>

namespace vexora {

// One line of service data, such as a workspace name, that never widens the panel: it is cut
// short with an ellipsis to the room it has, its full text in the tooltip. text() and the
// accessible name stay whole.
class ElidingLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidingLabel(QWidget* parent = nullptr);

    void setText(const QString& text);
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateToolTip();
};

}  // namespace vexora
