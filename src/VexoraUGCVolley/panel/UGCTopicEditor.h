#pragma once

#include <QPlainTextEdit>

namespace vexora {

class UGCAppState;

// The multi-line topic field. Every edit goes through the state's topic setter; the state's
// text is written back only when it differs, so typing keeps the cursor where it is.
class UGCTopicEditor : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit UGCTopicEditor(UGCAppState& state, QWidget* parent = nullptr);
    void refresh();

private:
    UGCAppState& state_;
};

}  // namespace vexora
