#include "panel/UGCScriptSnippet.h"

#include "ui/PanelWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace vexora {

UGCScriptSnippet::UGCScriptSnippet(std::function<void(const QString&)> copy, QWidget* parent)
    : QFrame(parent), copy_(std::move(copy)) {
    using namespace PanelWidgets;
    setProperty("role", QStringLiteral("inset"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 10, 8, 10);
    row->setSpacing(8);
    script_ = label({}, QStringLiteral("body"));
    script_->setObjectName(QStringLiteral("ugc.result.script"));
    script_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(script_, 1);
    QToolButton* copyButton = iconButton(QStringLiteral("doc.on.doc"), QStringLiteral("Copy script"), QStringLiteral("Copy script"), 28);
    identify(copyButton, QStringLiteral("ugc.result.copy-script"), {},
             QStringLiteral("Copies the generated script to the clipboard."));
    connect(copyButton, &QToolButton::clicked, this, [this] {
        if (copy_) copy_(script_->text());
    });
    row->addWidget(copyButton, 0, Qt::AlignTop);
}

void UGCScriptSnippet::setScript(const QString& script) {
    if (script_->text() != script) script_->setText(script);
}

}  // namespace vexora
