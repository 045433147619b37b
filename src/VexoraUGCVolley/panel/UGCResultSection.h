#pragma once

#include "panel/UGCPanelContext.h"

#include <QWidget>

namespace vexora {

class UGCResultSection : public QWidget {
    Q_OBJECT

public:
    explicit UGCResultSection(UGCPanelContext& context, QWidget* parent = nullptr);
    void refresh();

private:
    UGCPanelContext& context_;
};

}  // namespace vexora
