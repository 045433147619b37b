#pragma once

#include "workflow/UGCWorkspacePreferences.h"

#include <QSettings>
#include <memory>

namespace vexora {

// One JSON record per tenant in the user's settings, under a key that names the tenant.
class UGCWorkspacePreferencesStore {
public:
    static inline const QString keyPrefix = QStringLiteral("co.vexora.ugc-volley.workspace.");

    // The application's own settings.
    UGCWorkspacePreferencesStore();
    explicit UGCWorkspacePreferencesStore(std::unique_ptr<QSettings> settings);

    // None when there is no record or it does not decode; a bad record stays until overwritten.
    std::optional<UGCWorkspacePreferences> load(const QString& tenantID) const;
    // Failures are silent: the previous record stays.
    void save(const UGCWorkspacePreferences& preferences, const QString& tenantID);

    static QString key(const QString& tenantID) { return keyPrefix + tenantID; }

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace vexora
