#pragma once

#include <QPushButton>

namespace vexora {

// The title row of a collapsible group: the whole row toggles, its chevron shows which way.
class UGCDisclosureHeader : public QPushButton {
    Q_OBJECT

public:
    // `role` picks the look: "disclosure" for a section, "disclosure-inline" for a row inside one.
    UGCDisclosureHeader(const QString& title,
                        const QString& accessibleDescription = QStringLiteral("Expands or collapses this section."),
                        const QString& role = QStringLiteral("disclosure"), QWidget* parent = nullptr);

    void setExpanded(bool expanded);
};

}  // namespace vexora
