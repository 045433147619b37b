#include "workflow/UGCWorkspacePreferencesStore.h"

#include <exception>


namespace vexora {

UGCWorkspacePreferencesStore::UGCWorkspacePreferencesStore() : settings_(std::make_unique<QSettings>()) {}

UGCWorkspacePreferencesStore::UGCWorkspacePreferencesStore(std::unique_ptr<QSettings> settings)
    : settings_(std::move(settings)) {}

std::optional<UGCWorkspacePreferences> UGCWorkspacePreferencesStore::load(const QString& tenantID) const {
    const QVariant stored = settings_->value(key(tenantID));
    if (!stored.isValid()) return std::nullopt;
    try {
        return UGCWorkspacePreferences::fromJson(JsonReader::parse(stored.toByteArray()));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void UGCWorkspacePreferencesStore::save(const UGCWorkspacePreferences& preferences, const QString& tenantID) {
    QByteArray encoded;
    try {
        encoded = encodeJson(preferences.toJson());
    } catch (const std::exception&) {
        return;
    }
    settings_->setValue(key(tenantID), encoded);
}

}  // namespace vexora
