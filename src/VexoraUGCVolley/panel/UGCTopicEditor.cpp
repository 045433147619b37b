#include "panel/UGCTopicEditor.h"

#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

namespace vexora {

UGCTopicEditor::UGCTopicEditor(UGCAppState& state, QWidget* parent) : QPlainTextEdit(parent), state_(state) {
    PanelWidgets::identify(this, QStringLiteral("ugc.topic.editor"), QStringLiteral("UGC topic"));
    setPlaceholderText(QStringLiteral("Describe the UGC short: audience, hook, product angle, or pain point..."));
    setTabChangesFocus(true);
    setFixedHeight(76);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = toPlainText();
        if (text != state_.topic()) state_.setTopic(text);
    });
    refresh();
}

void UGCTopicEditor::refresh() {
    if (toPlainText() == state_.topic()) return;
    // A text from elsewhere (a suggestion, a restored draft): the cursor goes to its end.
    setPlainText(state_.topic());
    moveCursor(QTextCursor::End);
}

}  // namespace vexora
