#pragma once

#include "panel/UGCPanelContext.h"

#include <QWidget>

namespace vexora {

class UGCSchedulesSection : public QWidget {
    Q_OBJECT

public:
    explicit UGCSchedulesSection(UGCPanelContext& context, QWidget* parent = nullptr);
    void refresh();

private:
    UGCPanelContext& context_;
};

}  // namespace vexora
