// The session as the keychain item holds it: what decodes is stored and read back unchanged.

#include "FuzzHarness.h"

#include "auth/KeychainStore.h"

using namespace vexora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString item = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto session = fuzz::decodedOrNone([&] { return KeychainStore::decodedSession(item); });
    if (!session) return 0;
    session->isExpired();
    const UserSession reread = fuzz::checkRoundTrip(
        *session, [](const UserSession& s) { return KeychainStore::encodedSession(s).toUtf8(); },
        [](const QByteArray& written) { return KeychainStore::decodedSession(QString::fromUtf8(written)); });
    fuzz::check(qHash(reread) == qHash(*session), "equal sessions hash differently");
    return 0;
}
