#pragma once

#include "panel/UGCPanelContext.h"

#include <QWidget>

namespace vexora {

class UGCHistorySection : public QWidget {
    Q_OBJECT

public:
    UGCHistorySection(UGCPanelContext& context, int pageIndex, int pageSize, QWidget* parent = nullptr);
    void refresh();

private:
    UGCPanelContext& context_;
    int pageIndex_;
    int pageSize_;
};

}  // namespace vexora
