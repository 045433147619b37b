#pragma once

#include <QByteArray>
#include <cstdio>
#include <qglobal.h>

namespace vexora::test {

// The keyring suites sign out, store and delete the session items of the QA and the production
// build. ./dev runs them on a throw-away bus and keyring (with_keyring) and marks that bus by
// exporting its address as VEXORA_TEST_PRIVATE_BUS; any other bus may be a developer's own.
inline bool onPrivateTestBus() {
    const QByteArray bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    return !bus.isEmpty() && qgetenv("VEXORA_TEST_PRIVATE_BUS") == bus;
}

inline constexpr const char* privateKeyringRefusal =
    "refused: this suite deletes the QA and production sessions in the keyring, so it runs only in the "
    "private keyring session of ./dev (./dev test, or ./dev test -R NAME)";

// For every test process: a foreign session bus is replaced by an address that leads nowhere, so
// that nothing in the process, nor anything it starts, can reach that bus's keyring. CTest's
// KeychainUnavailable case keeps the bus it declares to have no Secret Service.
inline void leaveForeignSessionBus(bool quiet) {
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") || onPrivateTestBus() ||
        qEnvironmentVariableIsSet("VEXORA_TEST_BUS_WITHOUT_KEYRING"))
        return;
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/dev/null/no-session-bus-outside-dev");
    if (!quiet)
        std::fprintf(stderr, "vexora tests: the session bus is not the private one of ./dev, so this process goes "
                             "without it; the keyring suites refuse to run (./dev test runs them)\n");
}

}  // namespace vexora::test
