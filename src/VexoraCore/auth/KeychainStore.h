#pragma once

#include "foundation/CoreAppConfiguration.h"
#include "foundation/UserSession.h"

#include <QCoroTask>
#include <optional>

namespace vexora {

// Keeps the session in the system's secure credential store (the Secret Service on Linux),
// one item per bundle: service = bundle identifier + ".session", key "default".
// There is deliberately no plain-file fallback: without a keyring nothing is stored.
class KeychainStore {
public:
    explicit KeychainStore(CoreAppConfiguration configuration);

    const QString& service() const { return service_; }

    // Replaces any stored session. Raises SecureStoreError.
    QCoro::Task<void> save(UserSession session);
    // None when no item exists. Raises SecureStoreError, or DecodingError for a damaged item.
    QCoro::Task<std::optional<UserSession>> loadSession();
    // Never fails.
    QCoro::Task<void> clearSession();

    static constexpr const char* account = "default";

    // The item's text: the session's JSON. Decoding raises DecodingError for a damaged item.
    static QString encodedSession(const UserSession& session);
    static UserSession decodedSession(const QString& text);

private:
    CoreAppConfiguration configuration_;
    QString service_;
};

}  // namespace vexora
