#pragma once

#include <QString>

namespace vexora {

class VideoPreviewBackend;

struct VideoPreviewLoad {
    VideoPreviewBackend* backend = nullptr;  // null when the plugin is missing or unusable
    QString problem;                         // why, for the log
};

// Loads the preview plugin at the first call and keeps it for the life of the process; later
// calls answer the same. Looks beside the installed program first, then in the build tree.
const VideoPreviewLoad& loadVideoPreviewBackend();

}  // namespace vexora
