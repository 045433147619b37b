#include "automation/UIAutomationServer.h"
#include "cache/UGCAvatarImageCache.h"
#include "panel/UGCAvatarTile.h"
#include "support/DevServer.h"
#include "support/ScopedEnvironment.h"

#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace vexora::test {
namespace {

// The benchmarks wait on hasImage to know the library's faces are decoded: it must turn true
// only when the picture arrived, and stay false when it never does.
TEST(AvatarTileImage, AutomationSeesAFaceArriveAndNotAFaceThatFailed) {
    DevServer server;
    QNetworkAccessManager network;
    QTemporaryDir folder;
    UGCAvatarImageCache cache(folder.path(), network);
    ScopedEnvironment socket("VEXORA_DEBUG_AUTOMATION_SOCKET", folder.filePath("automation").toUtf8());
    std::unique_ptr<UIAutomationServer> automation(UIAutomationServer::startFromEnvironment(nullptr));
    ASSERT_TRUE(automation);
    auto stateOf = [&](const char* identifier) { return automation->handle({{"op", "state"}, {"id", identifier}}); };

    server.script("GET", "/assets/avatars/broken.png", Json::array({{{"status", 404}, {"body", "{}"}}}));
    QWidget window;
    auto face = [&](const char* id) {
        return new UGCAvatarTile({id, server.baseURL() + "/assets/avatars/" + id + ".png", std::nullopt}, 1, &cache,
                                 [] { return 0.0; }, {}, &window);
    };
    face("arrives")->move(0, 0);
    face("broken")->move(80, 0);
    window.show();
    EXPECT_FALSE(stateOf("ugc.avatar.tile.arrives").value("hasImage", true)) << "not before the fetch answered";
    EXPECT_TRUE(QTest::qWaitFor([&] { return stateOf("ugc.avatar.tile.arrives").value("hasImage", false); }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !server.requests("/assets/avatars/broken.png").empty(); }, 10000));
    QTest::qWait(200);
    EXPECT_FALSE(stateOf("ugc.avatar.tile.broken").value("hasImage", true));
    window.setObjectName("window");
    EXPECT_FALSE(stateOf("window").contains("hasImage")) << "only controls that show a remote picture say";
}

}  // namespace
}  // namespace vexora::test
