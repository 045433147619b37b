#pragma once

#include <QFrame>
#include <functional>

class QLabel;

namespace vexora {

// The generated script in an inset, with a button that copies it.
class UGCScriptSnippet : public QFrame {
    Q_OBJECT

public:
    explicit UGCScriptSnippet(std::function<void(const QString&)> copy, QWidget* parent = nullptr);
    void setScript(const QString& script);

private:
    std::function<void(const QString&)> copy_;
    QLabel* script_;
};

}  // namespace vexora
