#pragma once

#include <QPushButton>

namespace vexora {

// A compact filled button whose colour follows its prominence; the title is also its
// accessibility label.
class CompactActionButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QString prominence READ prominenceName)

public:
    enum class Prominence { primary, secondary, danger };

    CompactActionButton(const QString& title, Prominence prominence, int height = 32, QWidget* parent = nullptr);

    void setTitle(const QString& title);
    QString title() const { return text(); }
    Prominence prominence() const { return prominence_; }
    QString prominenceName() const;

private:
    Prominence prominence_;
};

}  // namespace vexora
