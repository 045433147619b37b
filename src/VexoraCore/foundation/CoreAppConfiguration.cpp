#include "foundation/CoreAppConfiguration.h"

#include "foundation/BundleInfo.h"

#include <QHashFunctions>
#include <QtGlobal>

namespace vexora {

namespace {

// A base URL must be absolute: a relative one could never reach the service.
std::optional<QUrl> parseBaseURL(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || url.host().isEmpty()) return std::nullopt;
    return url;
}

}  // namespace

std::optional<QString> trimmedEnvironmentValue(const char* name) {
    const QString value = qEnvironmentVariable(name).trimmed();
    if (value.isEmpty()) return std::nullopt;
    return value;
}

QUrl CoreAppConfiguration::apiBaseURL() const {
    const QString configured = qEnvironmentVariable("VEXORA_API_BASE_URL");
    if (!configured.isEmpty()) return parseBaseURL(configured).value_or(QUrl());
    auto origin = parseBaseURL(builtInWebOrigin());
    if (!origin) qFatal("The built-in web origin is not a valid URL");
    return *origin;
}

std::optional<QString> CoreAppConfiguration::apiBaseURLProblem() const {
    QString configured = qEnvironmentVariable("VEXORA_API_BASE_URL");
    if (configured.isEmpty() || parseBaseURL(configured)) return std::nullopt;
    configured.replace(QLatin1Char('\n'), QLatin1String("\\n")).replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return QStringLiteral("VEXORA_API_BASE_URL is set to \"%1\", which is not an absolute URL such as "
                          "http://127.0.0.1:8080 (nothing is trimmed); unset it to use %2")
        .arg(configured, builtInWebOrigin());
}

QString CoreAppConfiguration::bundleIdentifier() const {
    return BundleInfo::main().identifier.value_or(developmentBundleIdentifier);
}

bool CoreAppConfiguration::isProductionBundle() const { return bundleIdentifier() == productionBundleIdentifier; }

bool CoreAppConfiguration::supportsUpdater() const { return isProductionBundle(); }

QString CoreAppConfiguration::resolvedStatusItemAutosaveName() const {
    if (statusItemAutosaveName) return *statusItemAutosaveName;
    return bundleIdentifier() + QLatin1Char('.') + appName + QStringLiteral(".StatusItem");
}

QString CoreAppConfiguration::appStateDirectoryName() const {
    return bundleIdentifier().replace(QLatin1Char('.'), QLatin1Char('-'));
}

QString CoreAppConfiguration::appcastURL() const {
    return trimmedEnvironmentValue("VEXORA_APPCAST_URL").value_or(defaultAppcastURL);
}

QString CoreAppConfiguration::sparkleKeyAccount() const {
    return trimmedEnvironmentValue("SPARKLE_KEY_ACCOUNT").value_or(defaultSparkleKeyAccount);
}

size_t qHash(const CoreAppConfiguration& c, size_t seed) {
    QtPrivate::QHashCombine combine;
    auto mix = [&](const auto& value) { seed = combine(seed, value); };
    mix(c.appName);
    mix(c.displayName);
    mix(c.productionBundleIdentifier);
    mix(c.developmentBundleIdentifier);
    mix(c.statusItemLength);
    mix(c.statusItemAutosaveName.value_or(QString()));
    mix(c.statusIconAssetName.value_or(QString()));
    mix(c.statusIconSystemName.value_or(QString()));
    mix(c.notificationSuccessIdentifier);
    mix(c.notificationErrorIdentifier);
    mix(c.stateFileName);
    mix(c.panelWidth);
    mix(c.authPanelSize.width());
    mix(c.authPanelSize.height());
    mix(c.workspacePanelSize.width());
    mix(c.workspacePanelSize.height());
    mix(c.nativeAuthPollIntervalNanoseconds);
    mix(c.nativeAuthTimeoutSeconds);
    for (int status : c.requestRetryStatuses) mix(status);
    mix(c.defaultAppcastURL);
    mix(c.defaultSparkleKeyAccount);
    mix(c.clientHeader);
    return seed;
}

}  // namespace vexora
