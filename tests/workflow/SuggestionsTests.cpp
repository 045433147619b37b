#include "workflow/WorkflowFixture.h"

using namespace vexora;
using namespace vexora::test;

using SuggestionsTest = WorkflowFixture;

static QString favorite(int n) { return QStringLiteral("fav-%1").arg(n); }

TEST_F(SuggestionsTest, BothModesAndTheirMessages) {
    signInDemo();
    state->suggest(true);
    EXPECT_EQ(state->errorMessage(), QStringLiteral("Choose a favorite before knowledge suggestions."));
    EXPECT_TRUE(server.requests("/api/").empty());

    state->suggest(false);
    ASSERT_TRUE(waitUntil([&] { return !state->isSuggesting(); }));
    ASSERT_EQ(state->suggestions().size(), 5);
    EXPECT_EQ(state->suggestions()[0].gapID, QStringLiteral("gap-1"));
    EXPECT_EQ(state->errorMessage(), std::nullopt) << "a list clears the earlier message";
    EXPECT_EQ(server.requests("/api/dashboard/shorts/suggest").back().query.find("favoriteId"), std::string::npos);

    state->setSelectedFavoriteID(favorite(2));
    state->selectedFavoriteDidChange();
    EXPECT_TRUE(state->suggestions().isEmpty());
    state->suggest(true);
    ASSERT_TRUE(waitUntil([&] { return !state->isSuggesting(); }));
    ASSERT_EQ(state->suggestions().size(), 3);
    EXPECT_EQ(state->suggestions()[0].documentID, QStringLiteral("doc-1"));

    server.script("GET", "/api/dashboard/shorts/suggest-topics", Json::array({{{"body", R"({"suggestions":[]})"}}}));
    state->suggest(false);
    ASSERT_TRUE(waitUntil([&] { return !state->isSuggesting(); }));
    EXPECT_EQ(state->errorMessage(), QStringLiteral("No suggestions available yet."));
    EXPECT_TRUE(state->suggestions().isEmpty());
}

TEST_F(SuggestionsTest, ASuggestionDetachesWhenTheTopicIsEdited) {
    signInDemo();
    state->suggest(false);
    ASSERT_TRUE(waitUntil([&] { return !state->isSuggesting(); }));
    const Suggestion chosen = state->suggestions()[1];
    state->setSelectedSuggestion(chosen);
    state->setTopic(chosen.topic);
    EXPECT_EQ(state->selectedSuggestion(), chosen);
    state->setTopic(chosen.topic + "!");
    EXPECT_EQ(state->selectedSuggestion(), std::nullopt);
    state->setTopic(chosen.topic);
    EXPECT_EQ(state->selectedSuggestion(), std::nullopt) << "typing the text back does not reattach";

    state->setSelectedSuggestion(chosen);
    state->generate();
    ASSERT_TRUE(waitUntil([&] { return !state->isPipelineRunning(); }));
    EXPECT_EQ(onlyBody("/api/dashboard/shorts/script").at("gap_id"), "gap-2");
}

TEST_F(SuggestionsTest, OnlyTheLatestRequestAndFavoriteCount) {
    signInDemo();
    const std::string path = "/api/dashboard/shorts/suggest-topics";
    server.script("GET", path, Json::array({{{"delay_ms", 300}, {"body", R"({"suggestions":[{"source":"gap","topic":"Old"}]})"}}}));
    state->suggest(false);
    spin(100);  // the first request reaches the server and takes the slow reply
    state->suggest(false);
    ASSERT_TRUE(waitUntil([&] { return !state->isSuggesting(); }));
    ASSERT_EQ(state->suggestions().size(), 5);
    spin(400);
    EXPECT_EQ(state->suggestions().size(), 5) << "the first reply is dropped";

    state->setSelectedFavoriteID(favorite(1));
    server.script("GET", "/api/dashboard/shorts/suggest-knowledge",
                  Json::array({{{"delay_ms", 300}, {"body", R"({"suggestions":[{"source":"k","topic":"Late"}]})"}}}));
    state->suggest(true);
    state->setSelectedFavoriteID(favorite(3));
    state->selectedFavoriteDidChange();
    EXPECT_TRUE(state->suggestions().isEmpty());
    EXPECT_EQ(state->scheduleDraft().favoriteID, favorite(3));
    ASSERT_TRUE(waitUntil([&] { return !state->isSuggesting(); }));
    EXPECT_FALSE(waitUntil([&] { return !state->suggestions().isEmpty(); }, 600));
    EXPECT_EQ(state->errorMessage(), std::nullopt) << "a cancelled request shows nothing";

    server.script("GET", path, Json::array({{{"delay_ms", 300}, {"body", R"({"suggestions":[{"source":"gap","topic":"Gone"}]})"}}}));
    state->suggest(false);
    state->signOut();
    EXPECT_FALSE(state->isSuggesting()) << "the buttons are free for the next sign-in";
    EXPECT_FALSE(waitUntil([&] { return !state->suggestions().isEmpty(); }, 600));
}

TEST_F(SuggestionsTest, SuggestionsLeaveWithTheirWorkspace) {
    signInDemo();
    state->suggest(false);
    ASSERT_TRUE(waitUntil([&] { return !state->isSuggesting(); }));
    ASSERT_FALSE(state->suggestions().isEmpty());
    state->signOut();
    ASSERT_TRUE(waitUntil([&] { return state->authState().status == AuthStatus::unauthenticated; }));
    EXPECT_TRUE(state->suggestions().isEmpty());

    signInDemo();
    state->setSelectedFavoriteID(favorite(2));
    state->suggest(false);
    ASSERT_TRUE(waitUntil([&] { return !state->isSuggesting(); }));
    ASSERT_FALSE(state->suggestions().isEmpty());
    server.script("GET", "/api/tenants", Json::array({{{"body", R"({"tenants":[{"id":"tenant-other","name":"Other"}]})"}}}));
    runSyncVoid(state->refreshAuthenticatedContext());
    EXPECT_EQ(state->authState().tenantID, QStringLiteral("tenant-other"));
    EXPECT_TRUE(state->suggestions().isEmpty()) << "they belong to the workspace left";
    EXPECT_TRUE(state->favorites().isEmpty());
    EXPECT_EQ(makeStore()->load("tenant-demo")->selectedFavoriteID, favorite(2)) << "leaving writes nothing into its record";
}
