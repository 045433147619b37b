#include "CliReference.h"

#include "CliCommands.h"
#include "auth/KeychainStore.h"
#include "config/UGCAppConfiguration.h"
#include "foundation/BundleInfo.h"
#include "shell/AutostartEntry.h"

namespace vexora::cli {

using namespace Qt::Literals::StringLiterals;

const QList<CliExitStatus>& exitStatuses() {
    static const QList<CliExitStatus> statuses{
        {success, u"done"_s},
        {failure, u"the service or the workflow failed"_s},
        {usageError, u"a usage error"_s},
        {interrupted, u"stopped by Ctrl+C"_s},
    };
    return statuses;
}

const QList<CliEnvironmentVariable>& environmentVariables() {
    static const QList<CliEnvironmentVariable> variables = [] {
        const CoreAppConfiguration& core = UGCAppConfiguration::core();
        QList<CliEnvironmentVariable> list{
            {u"VEXORA_API_BASE_URL"_s,
             u"The address of the Vexora service, an absolute URL such as `http://127.0.0.1:8080` for the local "
             "stand-in of the service. Unset or empty, it is `%1`. A value that is not an absolute URL is refused, "
             "never replaced by that address: vexora-ugc exits with 2 and the tray app sends no request."_s.arg(builtInWebOrigin()),
             ReadBy::both},
            {u"VEXORA_UGC_VIDEO_POLL_TIMEOUT_SECONDS"_s,
             u"How long a run waits for the service to render its video, in seconds (default %1)."_s.arg(
                 UGCAppConfiguration::defaultLiveVideoPollTimeoutSeconds),
             ReadBy::both},
            {u"VEXORA_UGC_STUB_MODE"_s,
             u"Set to 1, every run is a rehearsal: the service makes no script, face or video, and placeholder "
             "addresses come back."_s,
             ReadBy::both},
            {u"XDG_CONFIG_HOME"_s, u"Where the preferences file is kept (default `~/.config`)."_s, ReadBy::both},
            {u"XDG_DATA_HOME"_s, u"Where the avatar images are kept (default `~/.local/share`)."_s, ReadBy::trayApp},
            {u"XDG_CACHE_HOME"_s, u"Where downloads of avatar images are cached (default `~/.cache`)."_s, ReadBy::trayApp},
            {u"XDG_RUNTIME_DIR"_s, u"Where the lock file that keeps a second instance out is made without a session bus."_s,
             ReadBy::trayApp},
            {u"DBUS_SESSION_BUS_ADDRESS"_s,
             u"The session bus, through which the session is kept in the Secret Service."_s, ReadBy::both},
            {u"QT_QPA_PLATFORM"_s,
             u"The display platform. Unset in a Wayland session that offers XWayland, the app runs on X11 (xcb), "
             "where its panel can place itself next to the tray icon; wayland makes the panel an ordinary window."_s,
             ReadBy::trayApp},
            {u"VEXORA_DEBUG_SHOW_PANEL_ON_LAUNCH"_s, u"Set to 1, the panel opens at launch, even when started with %1."_s.arg(
                                                          QLatin1String(AutostartEntry::launchArgument)),
             ReadBy::trayApp},
        };
        // Only a production build looks for updates, and only one without a feed of its own compiled in.
        if (core.supportsUpdater() && !BundleInfo::main().feedURL)
            list.append({u"VEXORA_APPCAST_URL"_s, u"The update feed to read instead of `%1`."_s.arg(core.defaultAppcastURL),
                         ReadBy::trayApp});
        return list;
    }();
    return variables;
}

const QList<CliFile>& files() {
    static const QList<CliFile> list = [] {
        const CoreAppConfiguration& core = UGCAppConfiguration::core();
        const QString application = QLatin1String(organizationName) + u'/' + core.appName;
        const QString id = core.bundleIdentifier();
        return QList<CliFile>{
            {u"$XDG_CONFIG_HOME/"_s + application + u".conf"_s,
             u"The preferences: each workspace's last choices of the form and its last run, and the tray app's "
             "own settings. vexora-ugc and the tray app share it."_s,
             ReadBy::both},
            {u"keyring item %1, key %2"_s.arg(id + u".session"_s, QLatin1String(KeychainStore::account)),
             u"The session, in the desktop's keyring: the Secret Service (GNOME Keyring and others), or KWallet on "
             "KDE. vexora-ugc and the tray app share it; `secret-tool search server %1` shows it in the Secret "
             "Service."_s.arg(id + u".session"_s),
             ReadBy::both},
            {u"$XDG_DATA_HOME/"_s + application + u"/AvatarImageCache/"_s,
             u"The avatar images the panel shows, with their records in AvatarImageCache.store next to it."_s,
             ReadBy::trayApp},
            {u"$XDG_CACHE_HOME/"_s + application + u"/AvatarImageCache/"_s, u"Downloads of avatar images."_s,
             ReadBy::trayApp},
            {u"$XDG_CONFIG_HOME/autostart/"_s + id + u".desktop"_s,
             u"Written by the menu's \"Start at Login\"; starts the app with %1."_s.arg(QLatin1String(AutostartEntry::launchArgument)),
             ReadBy::trayApp},
            {u"$XDG_RUNTIME_DIR/"_s + id + u".lock"_s,
             u"Keeps a second instance out when there is no session bus (with one, the app owns the name %1 on it)."_s.arg(id),
             ReadBy::trayApp},
        };
    }();
    return list;
}

}  // namespace vexora::cli
