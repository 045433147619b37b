#pragma once

#include "panel/UGCPanelContext.h"

#include <QWidget>

namespace vexora {

class UGCGeneratorSection : public QWidget {
    Q_OBJECT

public:
    explicit UGCGeneratorSection(UGCPanelContext& context, QWidget* parent = nullptr);
    void refresh();

private:
    UGCPanelContext& context_;
};

}  // namespace vexora
