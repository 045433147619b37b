#include "auth/AuthManager.h"
#include "auth/KeychainStore.h"
#include "config/UGCAppConfiguration.h"
#include "foundation/BundleInfo.h"
#include "foundation/FoundationErrors.h"
#include "support/PrivateKeyring.h"
#include "support/RunSync.h"
#include "support/ScopedEnvironment.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vexora;
using namespace vexora::test;

namespace {

CoreAppConfiguration configurationAs(std::optional<QString> bundleIdentifier) {
    BundleInfo bundle = BundleInfo::compiled();
    bundle.identifier = std::move(bundleIdentifier);
    BundleInfo::setMainForTesting(bundle);
    return UGCAppConfiguration::core();
}

UserSession session(QString token, std::optional<QString> email = QStringLiteral("demo@vexora.local")) {
    return UserSession{std::move(token), QStringLiteral("refresh"), 1'900'000'000.5, QStringLiteral("user-1"), std::move(email)};
}

// Writes raw bytes where the store keeps its item, as a damaged or foreign writer would.
void writeRawItem(const QString& service, const QByteArray& data) {
    QProcess tool;
    tool.start("secret-tool", {"store", "--label=damaged", "xdg:schema", "org.qt.keychain", "server", service, "user",
                               "default", "type", "plaintext"});
    tool.write(data);
    tool.closeWriteChannel();
    ASSERT_TRUE(tool.waitForFinished(10000));
}

class KeychainStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!onPrivateTestBus()) GTEST_FAIL() << privateKeyringRefusal;
        qa.emplace(configurationAs(std::nullopt));
        production.emplace(configurationAs(QStringLiteral("com.vexora.ugcvolley")));
        BundleInfo::setMainForTesting(std::nullopt);
        runSync(qa->clearSession());
        runSync(production->clearSession());
    }
    void TearDown() override { BundleInfo::setMainForTesting(std::nullopt); }

    std::optional<KeychainStore> qa;
    std::optional<KeychainStore> production;
};

}  // namespace

TEST_F(KeychainStoreTest, QAAndProductionKeepSeparateSessionsThatRoundTripReplaceAndClear) {
    EXPECT_EQ(qa->service(), "com.vexora.ugcvolley.qa.session");
    EXPECT_EQ(production->service(), "com.vexora.ugcvolley.session");
    runSync(qa->save(session("first")));
    runSync(qa->save(session("qa-token", std::nullopt)));
    EXPECT_EQ(runSync(production->loadSession()), std::nullopt) << "nothing stored is no session, not an error";
    runSync(production->save(session("production-token")));
    EXPECT_EQ(runSync(qa->loadSession()), session("qa-token", std::nullopt));
    EXPECT_EQ(runSync(production->loadSession()), session("production-token"));

    runSync(qa->clearSession());
    runSync(qa->clearSession());  // clearing nothing is fine
    EXPECT_EQ(runSync(qa->loadSession()), std::nullopt);
    EXPECT_EQ(runSync(production->loadSession())->accessToken, "production-token");
}

TEST_F(KeychainStoreTest, ADamagedItemIsADecodingErrorAndRestoreReportsNoSession) {
    runSync(qa->save(session("to-be-damaged")));
    writeRawItem(qa->service(), R"({"accessToken":"only this"})");
    const auto error = expectFailure<DecodingError>(qa->loadSession());
    EXPECT_EQ(error.path(), "refreshToken");

    BundleInfo::setMainForTesting(std::nullopt);
    QNetworkAccessManager network;
    AuthManager auth(UGCAppConfiguration::core(), network);
    EXPECT_EQ(runSync(auth.restoreSession()), std::nullopt);
}

// Runs alone on a private bus where nothing provides the Secret Service.
TEST(KeychainUnavailable, SigningInFailsClearlyAndNothingIsStoredElsewhere) {
    if (!qEnvironmentVariableIsSet("VEXORA_TEST_BUS_WITHOUT_KEYRING")) GTEST_SKIP() << "runs on its own bus";
    KeychainStore store(UGCAppConfiguration::core());
    const auto error = expectFailure<SecureStoreError>(store.save(session("token-that-must-go-nowhere")));
    EXPECT_EQ(error.status(), SecureStoreError::Status::unavailable) << error.detail().toStdString();
    EXPECT_TRUE(error.errorDescription().contains("system keyring is unavailable"));
    EXPECT_NE(failureOf(store.loadSession()), nullptr);
    for (QDirIterator it(QDir::homePath(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        QFile file(it.next());
        if (file.size() < (1 << 20) && file.open(QIODevice::ReadOnly)) {
            EXPECT_FALSE(file.readAll().contains("token-that-must-go-nowhere")) << file.fileName().toStdString();
        }
    }

    QNetworkAccessManager network;
    AuthManager auth(UGCAppConfiguration::core(), network);
    EXPECT_EQ(runSync(auth.restoreSession()), std::nullopt);
}

// A developer's own session, with a real session in its keyring: the keyring suites run there
// (as a plain ctest would) refuse, and the session stays. The marker of ./dev's bus, inherited,
// does not count for another bus.
TEST(PrivateKeyring, KeyringSuitesRefuseAnotherSessionAndLeaveItsItemsAlone) {
    QTemporaryDir home;
    QProcessEnvironment desktop = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) desktop.insert(name, home.path());
    const QString item = "server com.vexora.ugcvolley.qa.session user default";
    QProcess session;
    session.setProcessEnvironment(desktop);
    session.start("dbus-run-session", {"--", "bash", "-c", R"(
        echo -n test | gnome-keyring-daemon --unlock --components=secrets >/dev/null 2>&1
        printf real-session | secret-tool store --label=real xdg:schema org.qt.keychain )" + item + R"( type plaintext
        "$0" --gtest_filter='KeychainStoreTest.*:AuthManagerTest.*'
        echo "suite exit $?"
        secret-tool lookup )" + item, QCoreApplication::applicationFilePath()});
    ASSERT_TRUE(session.waitForFinished(60000));
    const QString output = QString::fromUtf8(session.readAllStandardOutput());
    const QString lookedUp = output.section("suite exit", 1);  // what the keyring holds afterwards
    EXPECT_TRUE(output.contains(privateKeyringRefusal)) << output.toStdString();
    EXPECT_FALSE(output.contains("suite exit 0")) << output.toStdString();
    EXPECT_TRUE(lookedUp.contains("real-session")) << output.toStdString();
}
