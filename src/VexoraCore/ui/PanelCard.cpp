#include "ui/PanelCard.h"

#include <QVBoxLayout>

namespace vexora {

PanelCard::PanelCard(QWidget* content, QWidget* parent) : QFrame(parent), layout_(new QVBoxLayout(this)) {
    layout_->setContentsMargins(14, 12, 14, 12);
    setContent(content);
}

void PanelCard::setContent(QWidget* content) {
    if (content_ == content) return;
    if (content_) content_->deleteLater();
    content_ = content;
    if (content_) layout_->addWidget(content_);
}

}  // namespace vexora
