#pragma once

#include <QFrame>

class QVBoxLayout;

namespace vexora {

// A rounded card with a light stroke holding one content view; every section of the panel sits
// in one.
class PanelCard : public QFrame {
    Q_OBJECT

public:
    explicit PanelCard(QWidget* content = nullptr, QWidget* parent = nullptr);
    void setContent(QWidget* content);
    QWidget* content() const { return content_; }

private:
    QVBoxLayout* layout_;
    QWidget* content_ = nullptr;
};

}  // namespace vexora
