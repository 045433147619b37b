#pragma once

#include <QString>
#include <functional>

namespace vexora {

class UGCAppState;
class UGCAvatarImageCache;

// What every section of the panel works with: the workflow state, where faces come from, and
// how text reaches the clipboard.
struct UGCPanelContext {
    UGCAppState& state;
    UGCAvatarImageCache* images = nullptr;  // none: faces stay placeholders
    std::function<void(const QString&)> copyToClipboard;
};

}  // namespace vexora
