#pragma once

#include <QToolButton>
#include <optional>

namespace vexora {

class UGCAppState;

// A text button that opens a web page. It shows only for an http or https URL with a host,
// and opens it through the state, which refuses anything else too.
class UGCResultActionLink : public QToolButton {
    Q_OBJECT

public:
    UGCResultActionLink(UGCAppState& state, const QString& title, const QString& iconName, QWidget* parent = nullptr);

    void setDestination(const std::optional<QString>& url);
    const std::optional<QString>& destination() const { return destination_; }

private:
    UGCAppState& state_;
    std::optional<QString> destination_;
};

}  // namespace vexora
