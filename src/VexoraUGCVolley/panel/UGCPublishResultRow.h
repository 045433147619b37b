#pragma once

#include "client/UGCHistoryRecords.h"

#include <QFrame>

namespace vexora {

class UGCAppState;

// One account's publishing outcome: platform, success or failure, the post and a link to it.
class UGCPublishResultRow : public QFrame {
    Q_OBJECT

public:
    UGCPublishResultRow(UGCAppState& state, const PublishResult& result, QWidget* parent = nullptr);
};

}  // namespace vexora
