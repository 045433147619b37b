#include "foundation/FoundationErrors.h"

namespace vexora {

const char* DescribedError::what() const noexcept {
    whatText_ = errorDescription().toUtf8();
    return whatText_.constData();
}

QString DecodingError::errorDescription() const {
    const QString where = path_.isEmpty() ? QStringLiteral("the reply") : QLatin1Char('"') + path_ + QLatin1Char('"');
    return QStringLiteral("The data couldn't be read: %1 %2.").arg(where, problem_);
}

QString SecureStoreError::errorDescription() const {
    switch (status_) {
    case Status::unavailable:
        return QStringLiteral("The system keyring is unavailable, so the session cannot be kept. "
                              "Start a Secret Service provider such as GNOME Keyring and try again.");
    case Status::accessDenied: return QStringLiteral("Access to the system keyring was denied.");
    case Status::failed: break;
    }
    return QStringLiteral("The system keyring failed: %1").arg(detail_);
}

}  // namespace vexora
