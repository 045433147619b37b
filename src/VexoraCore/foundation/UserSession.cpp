#include "foundation/UserSession.h"

#include "foundation/JsonReader.h"

#include <QDateTime>
#include <QHashFunctions>

namespace vexora {

double currentEpochSeconds() { return double(QDateTime::currentMSecsSinceEpoch()) / 1000.0; }

bool UserSession::isExpired() const { return expiresAt - currentEpochSeconds() < refreshMarginSeconds; }

Json UserSession::toJson() const {
    Json json = {{"accessToken", accessToken}, {"refreshToken", refreshToken}, {"expiresAt", expiresAt}, {"userID", userID}};
    if (email) json["email"] = *email;
    return json;
}

UserSession UserSession::fromJson(const JsonReader& reader) {
    return UserSession{reader.requiredString("accessToken"), reader.requiredString("refreshToken"),
                       reader.requiredNumber("expiresAt"), reader.requiredString("userID"), reader.optionalString("email")};
}

size_t qHash(const UserSession& session, size_t seed) {
    return qHashMulti(seed, session.accessToken, session.refreshToken, session.expiresAt, session.userID,
                      session.email.value_or(QString()));
}

}  // namespace vexora
