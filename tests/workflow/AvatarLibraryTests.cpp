#include "cache/UGCAvatarImageCache.h"
#include "support/RunSync.h"
#include "workflow/UGCAvatarOptions.h"
#include "workflow/WorkflowFixture.h"

#include <QFile>
#include <set>

using namespace vexora;
using namespace vexora::test;

namespace {

class AvatarLibraryTest : public WorkflowFixture {
protected:
    const std::string listPath = "/api/dashboard/shorts/avatars";
    std::vector<QString> removedImages;
    std::unique_ptr<UGCAvatarImageCache> cache;

    QString cachedFile(const QString& url) const {
        return cache->imageDirectory() + "/" + UGCAvatarImageCache::cacheFileName(url);
    }

    void signInWithLibrary() {
        cache = std::make_unique<UGCAvatarImageCache>(scratch.filePath("app"), network);
        state->avatarImageRemover = [this](QString url) -> QCoro::Task<void> {
            removedImages.push_back(url);
            co_await cache->remove(url);
        };
        signInDemo();
        ASSERT_TRUE(waitUntil([&] { return !state->isAvatarsLoading(); }));
    }

    static Json page(const std::vector<std::pair<std::string, std::string>>& items, bool hasMore) {
        Json list = Json::array();
        for (const auto& [id, url] : items) list.push_back({{"id", id}, {"avatar_url", url}});
        return {{"status", 200}, {"body", Json{{"items", list}, {"has_more", hasMore}, {"next_cursor", "c-2"}}.dump()}};
    }
};

}  // namespace

TEST_F(AvatarLibraryTest, PagesAppendOnlyFacesNotShownYet) {
    signInWithLibrary();
    ASSERT_EQ(state->avatars().size(), 50) << "the context load asks for the first page";
    EXPECT_TRUE(state->avatarsHasMore());
    state->fetchAvatars(false);
    ASSERT_TRUE(waitUntil([&] { return !state->isAvatarsLoading(); }));
    EXPECT_EQ(state->avatars().size(), 64);
    EXPECT_FALSE(state->avatarsHasMore());
    EXPECT_EQ(server.requests(listPath).back().query.find("before=avatar-050") != std::string::npos, true);

    server.clearLog();
    state->fetchAvatars(false);
    EXPECT_TRUE(server.requests(listPath).empty()) << "no cursor and a full list: nothing more to load";

    const std::string known = state->avatars()[3].avatarURL.toStdString();
    server.script("GET", listPath, Json::array({page({{"new-1", "https://cdn.test/x.png"}, {"new-2", "https://cdn.test/x.png"}}, false)}));
    state->fetchAvatars(true);
    ASSERT_TRUE(waitUntil([&] { return !state->isAvatarsLoading(); }));
    EXPECT_EQ(state->avatars().size(), 2) << "a reset keeps the page as sent, duplicates included";
    EXPECT_FALSE(state->avatarsHasMore());

    server.script("GET", listPath, Json::array({page({{"a", known}, {"b", known}, {"c", "https://cdn.test/y.png"}}, true)}));
    state->fetchAvatars(true);
    ASSERT_TRUE(waitUntil([&] { return !state->isAvatarsLoading(); }));
    server.script("GET", listPath, Json::array({page({{"z", known}, {"d", "https://cdn.test/x.png"}, {"e", "https://cdn.test/y.png"}}, true)}));
    state->fetchAvatars(false);
    ASSERT_TRUE(waitUntil([&] { return !state->isAvatarsLoading(); }));
    ASSERT_EQ(state->avatars().size(), 4) << "x.png is new; the repeated faces are not, whatever their ids";
    EXPECT_EQ(state->avatars().back().id, "d");
}

TEST_F(AvatarLibraryTest, AGeneratedFaceIsSelectedAndTheLibraryReloads) {
    signInWithLibrary();
    server.clearLog();
    state->generateStandaloneAvatar();
    state->generateStandaloneAvatar();  // one at a time
    ASSERT_TRUE(waitUntil([&] { return !state->isGeneratingAvatar() && !state->isAvatarsLoading(); }));
    EXPECT_EQ(server.requests("/api/dashboard/shorts/avatars/generate").size(), 1u);
    ASSERT_TRUE(state->reusedAvatarURL());
    EXPECT_EQ(state->scheduleDraft().avatarURL, *state->reusedAvatarURL());
    EXPECT_EQ(state->avatars().front().avatarURL, *state->reusedAvatarURL()) << "the reload shows the new face first";
    EXPECT_EQ(state->estimatedCredits(), 131);

    server.clearLog();
    Json slowPage = page({{"slow", "https://cdn.test/slow.png"}}, false);
    slowPage["delay_ms"] = 500;
    server.script("GET", listPath, Json::array({slowPage}));
    state->fetchAvatars(true);
    state->generateStandaloneAvatar();
    ASSERT_TRUE(waitUntil([&] { return !state->isGeneratingAvatar() && !state->isAvatarsLoading(); }));
    EXPECT_EQ(requests("GET", listPath).size(), 1u) << "the request in flight is not restarted";
}

TEST_F(AvatarLibraryTest, DeletingAFaceClearsItEverywhere) {
    signInWithLibrary();
    const AvatarListItem chosen = state->avatars()[0];
    const AvatarListItem other = state->avatars()[1];
    state->selectAvatar(chosen);
    EXPECT_EQ(state->scheduleDraft().avatarURL, chosen.avatarURL);
    ASSERT_TRUE(runSync(cache->image(chosen.avatarURL)));
    ASSERT_TRUE(QFile::exists(cachedFile(chosen.avatarURL)));

    server.clearLog();
    state->deleteAvatar(other);
    ASSERT_TRUE(waitUntil([&] { return state->deletingAvatarIDs().isEmpty(); }));
    EXPECT_EQ(state->reusedAvatarURL(), chosen.avatarURL) << "deleting another face leaves the choice alone";

    state->deleteAvatar(chosen);
    state->deleteAvatar(chosen);
    EXPECT_TRUE(state->deletingAvatarIDs().contains(chosen.id));
    ASSERT_TRUE(waitUntil([&] { return state->deletingAvatarIDs().isEmpty(); }));
    EXPECT_EQ(requests("DELETE", listPath).size(), 2u) << "a second delete of the same face is ignored";
    EXPECT_EQ(state->reusedAvatarURL(), std::nullopt);
    EXPECT_EQ(state->scheduleDraft().avatarURL, "");
    EXPECT_EQ(state->avatars().size(), 48);
    EXPECT_EQ(removedImages, (std::vector<QString>{other.avatarURL, chosen.avatarURL}));
    EXPECT_FALSE(QFile::exists(cachedFile(chosen.avatarURL))) << "the cached face goes too";

    state->deleteAvatar(AvatarListItem{"missing", "https://cdn.test/gone.png", std::nullopt});
    ASSERT_TRUE(waitUntil([&] { return state->deletingAvatarIDs().isEmpty(); }));
    EXPECT_TRUE(state->errorMessage()->startsWith("No such avatar"));
    EXPECT_EQ(state->avatars().size(), 48);
}

TEST_F(AvatarLibraryTest, LateAnswersAfterSignOutOnlyClearTheirFlags) {
    signInWithLibrary();
    server.configure({{"latency_ms", 200}});
    const AvatarListItem face = state->avatars()[0];
    state->fetchAvatars(true);
    state->generateStandaloneAvatar();
    state->deleteAvatar(face);
    state->signOut();
    ASSERT_TRUE(waitUntil([&] {
        return !state->isAvatarsLoading() && !state->isGeneratingAvatar() && state->deletingAvatarIDs().isEmpty();
    }));
    EXPECT_TRUE(state->avatars().isEmpty());
    EXPECT_EQ(state->reusedAvatarURL(), std::nullopt);
    EXPECT_EQ(state->errorMessage(), std::nullopt);
    EXPECT_TRUE(removedImages.empty());

    // A list request left running does not hold up the first page of the next sign-in.
    server.configure({{"latency_ms", 0}});
    signInDemo();
    ASSERT_TRUE(waitUntil([&] { return !state->isAvatarsLoading(); }));
    Json stale = page({{"stale", "https://cdn.test/stale.png"}}, false);
    stale["delay_ms"] = 600;
    server.script("GET", listPath, Json::array({stale}));
    state->fetchAvatars(true);
    state->signOut();
    ASSERT_TRUE(waitUntil([&] { return state->authState().status == AuthStatus::unauthenticated; }));
    signInDemo();
    spin(800);
    EXPECT_EQ(state->avatars().size(), 50);
    EXPECT_FALSE(state->isAvatarsLoading());
}

TEST_F(AvatarLibraryTest, TraitsAreRandomInAutoModeAndExactOtherwise) {
    std::set<QString> locations;
    for (int draw = 0; draw < 200; ++draw) {
        const AvatarTraits traits = state->avatarTraitsForRequest();
        EXPECT_TRUE(UGCAvatarOptions::contains(UGCAvatarOptions::origins, traits.origin));
        locations.insert(traits.location);
    }
    EXPECT_EQ(locations.size(), 11u) << "every scene turns up in 200 draws";
    EXPECT_EQ(state->avatarLocation(), "coffee_shop") << "the manual choice is untouched";

    state->setAvatarAutoMode(false);
    state->setAvatarOrigin("latin");
    EXPECT_EQ(state->avatarTraitsForRequest(), (AvatarTraits{"female", "latin", "26-35", "tech_founder", "coffee_shop"}));
}
