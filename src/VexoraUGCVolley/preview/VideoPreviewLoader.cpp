#include "preview/VideoPreviewLoader.h"

#include "preview/VideoPreviewBackend.h"

#include <QCoreApplication>
#include <QDir>
#include <QPluginLoader>

namespace vexora {

namespace {

QStringList pluginCandidates() {
    // Without a suffix: QPluginLoader adds the platform's own (.so, .dylib, .dll).
    const QString name = QStringLiteral("vexora-video-preview");
    QStringList candidates{QDir(QCoreApplication::applicationDirPath())
                               .filePath(QStringLiteral(VEXORA_PREVIEW_PLUGIN_RELATIVE_DIR "/") + name)};
#ifdef VEXORA_PREVIEW_PLUGIN_BUILD_DIR
    candidates << QStringLiteral(VEXORA_PREVIEW_PLUGIN_BUILD_DIR "/") + name;
#endif
    return candidates;
}

VideoPreviewLoad load() {
    QStringList problems;
    for (const QString& candidate : pluginCandidates()) {
        // Never unloaded: the media backend keeps threads and registrations of its own.
        auto* loader = new QPluginLoader(candidate, qApp);
        if (auto* backend = qobject_cast<VideoPreviewBackend*>(loader->instance())) return {backend, {}};
        problems << loader->errorString();
        delete loader;
    }
    return {nullptr, problems.join(QStringLiteral("; "))};
}

}  // namespace

const VideoPreviewLoad& loadVideoPreviewBackend() {
    static const VideoPreviewLoad loaded = load();
    return loaded;
}

}  // namespace vexora
