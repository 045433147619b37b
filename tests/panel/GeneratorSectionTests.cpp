#include "panel/PanelFixture.h"
#include "ui/PanelWidgets.h"
#include "workflow/UGCAvatarOptions.h"

#include <QComboBox>
#include <QPlainTextEdit>

namespace vexora::test {
namespace {

using GeneratorSection = PanelFixture;

// Names from the service can be any length; none may widen the panel past its 480 px.
TEST_F(GeneratorSection, LongNamesAreCutShortWithTheWholeNameInTheTooltip) {
    signInDemo();
    const QString longName = QString(200, QLatin1Char('W'));
    AuthState named = state->authState();
    named.tenantName = longName;
    state->setAuthState(named);
    QList<FavoriteOption> favorites = state->favorites();
    favorites.first().name = longName;
    state->setFavorites(favorites);
    state->setProducts({DashboardProduct{QStringLiteral("p-long"), longName}});
    QList<ConnectedSocialAccount> accounts = state->socialAccounts();
    ASSERT_FALSE(accounts.isEmpty());
    accounts.first().accountName = longName;
    state->setSocialAccounts(accounts);
    const UGCPlatform platform = accounts.first().platform == "tiktok" ? UGCPlatform::tiktok : UGCPlatform::instagram;
    state->setSelectedPublishAccountID(accounts.first().id, platform);
    QCoreApplication::processEvents();

    EXPECT_LE(panel->minimumSizeHint().width(), 480);
    EXPECT_EQ(text("ugc.tenant.name"), longName) << "the whole name for accessibility and tests";
    EXPECT_EQ(find("ugc.tenant.name")->toolTip(), longName);
    auto* account = find<QAbstractButton>(QStringLiteral("ugc.publish.account.%1.menu").arg(accounts.first().platform));
    ASSERT_NE(account, nullptr);
    EXPECT_LT(account->text().size(), longName.size());
    EXPECT_EQ(account->toolTip(), longName);
    EXPECT_EQ(account->accessibleName(), longName);
    auto* picker = find<QComboBox>("ugc.favorite.picker");
    EXPECT_EQ(picker->itemData(1, Qt::ToolTipRole).toString(), longName);
}

TEST_F(GeneratorSection, SuggestionButtonsFollowTheFavoriteAndTheRunningSuggestion) {
    signInDemo();
    EXPECT_TRUE(enabled("ugc.suggestion.gaps"));
    EXPECT_FALSE(enabled("ugc.suggestion.knowledge")) << "no favorite chosen";

    auto* picker = find<QComboBox>("ugc.favorite.picker");
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->itemText(0), "No favorite");
    EXPECT_EQ(picker->itemText(4), "glowskin.example") << "a favorite without a name shows its domain";
    // Products stand in as the knowledge source only for a workspace without favorites.
    EXPECT_FALSE(shown("ugc.knowledge-source.picker"));
    const QList<FavoriteOption> favorites = state->favorites();
    state->setFavorites({});
    auto* products = find<QComboBox>("ugc.knowledge-source.picker");
    EXPECT_TRUE(products->isVisibleTo(panel.get()));
    EXPECT_EQ(products->itemText(0), "No knowledge source");
    EXPECT_EQ(products->count(), state->products().size() + 1);
    state->setFavorites(favorites);
    EXPECT_FALSE(shown("ugc.knowledge-source.picker"));

    picker->setCurrentIndex(1);
    emit picker->activated(1);
    EXPECT_EQ(state->selectedFavoriteID(), "fav-1");
    EXPECT_TRUE(enabled("ugc.suggestion.knowledge"));

    click("ugc.suggestion.gaps");
    EXPECT_EQ(text("ugc.suggestion.gaps"), "Finding gaps...");
    EXPECT_FALSE(enabled("ugc.suggestion.gaps"));
    EXPECT_FALSE(enabled("ugc.suggestion.knowledge"));
    ASSERT_TRUE(waitUntil([this] { return !state->isSuggesting(); }));
    EXPECT_EQ(text("ugc.suggestion.gaps"), "Suggest from gaps");
    ASSERT_FALSE(state->suggestions().isEmpty());
    EXPECT_TRUE(shown("ugc.suggestions.list"));

    // A click selects the row and writes its topic; the editor shows it.
    const Suggestion second = state->suggestions().value(1, state->suggestions().first());
    const QString rowID = QStringLiteral("ugc.suggestion.row.") + second.id();
    EXPECT_EQ(find(rowID)->accessibleName(), QStringLiteral("Suggestion: ") + second.topic);
    click(rowID);
    EXPECT_EQ(state->selectedSuggestion(), second);
    EXPECT_EQ(find<QPlainTextEdit>("ugc.topic.editor")->toPlainText(), second.topic);
}

TEST_F(GeneratorSection, TypingKeepsFocusAndCursorAndCtrlReturnGenerates) {
    signInDemo();
    auto* editor = find<QPlainTextEdit>("ugc.topic.editor");
    EXPECT_EQ(editor->placeholderText(), "Describe the UGC short: audience, hook, product angle, or pain point...");
    EXPECT_FALSE(enabled("ugc.generator.generate")) << "an empty topic cannot run";
    panel->activateWindow();
    editor->setFocus();
    QTest::keyClicks(editor, "Coffee tips");
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(6);
    editor->setTextCursor(cursor);
    QTest::keyClicks(editor, "X");
    EXPECT_EQ(state->topic(), "CoffeeX tips");
    EXPECT_EQ(editor->textCursor().position(), 7) << "the state's echo must not move the cursor";
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(text("ugc.generator.estimate"), "Estimated 134 credits");

    QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(state->isPipelineRunning());
    EXPECT_EQ(text("ugc.generator.generate"), "Generating...");
    EXPECT_FALSE(enabled("ugc.generator.generate"));
    EXPECT_EQ(state->topic(), "CoffeeX tips") << "Ctrl+Return does not type a new line";
    ASSERT_TRUE(waitUntil([this] { return !state->isPipelineRunning(); }));
    EXPECT_TRUE(enabled("ugc.generator.generate")) << "the run's end alone enables Generate again";
}

TEST_F(GeneratorSection, AutoModeLocksEveryTraitAndShowsTheStoredValuesWhenOff) {
    signInDemo();
    state->setAvatarAutoMode(true);
    for (const char* trait : {"gender", "origin", "age", "role", "scene"}) {
        QWidget* menu = find(QStringLiteral("ugc.avatar.trait.") + trait);
        ASSERT_NE(menu, nullptr) << trait;
        EXPECT_FALSE(menu->findChild<QComboBox*>()->isVisibleTo(panel.get())) << trait;
        EXPECT_EQ(menu->accessibleDescription(),
                  "Auto avatar mode is enabled. Turn off Auto to choose this trait manually.");
    }
    const AvatarTraitOption chosen = UGCAvatarOptions::genders.last();
    state->setAvatarGender(chosen.value);
    click("ugc.avatar.auto");
    EXPECT_FALSE(state->avatarAutoMode());
    QWidget* gender = find("ugc.avatar.trait.gender");
    EXPECT_EQ(gender->accessibleDescription(), "");
    EXPECT_EQ(gender->findChild<QComboBox*>()->currentText(), chosen.label);
    EXPECT_EQ(PanelWidgets::accessibleValue(gender), chosen.label);
}

TEST_F(GeneratorSection, TileClicksSelectOrRevealDeleteByTheirSpacing) {
    signInDemo();
    ASSERT_TRUE(waitUntil([this] { return !state->isAvatarsLoading() && state->avatars().size() >= 2; }));
    const AvatarListItem first = state->avatars().first();
    const QString tile = QStringLiteral("ugc.avatar.tile.") + first.id;
    const QString remove = QStringLiteral("ugc.avatar.delete.") + first.id;
    const auto clickTwice = [&](double apart) {
        click(tile);
        clock().advance(apart);
        click(tile);
    };

    clickTwice(0.6);
    EXPECT_EQ(state->reusedAvatarURL(), first.avatarURL);
    EXPECT_FALSE(shown(remove)) << "0.6 s apart is two single clicks";
    EXPECT_TRUE(shown("ugc.avatar.selected"));

    clock().advance(0.6);
    clickTwice(0.3);
    EXPECT_TRUE(shown(remove));
    EXPECT_EQ(PanelWidgets::accessibleValue(find(tile)), "Delete button visible");

    state->clearSelectedAvatar();
    click(tile);
    EXPECT_FALSE(shown(remove));
    EXPECT_FALSE(state->reusedAvatarURL()) << "cancelling the delete does not select";

    clock().advance(1);
    clickTwice(0.2);
    server.clearLog();
    click(remove);
    ASSERT_TRUE(waitUntil([this] { return state->deletingAvatarIDs().isEmpty(); }));
    EXPECT_EQ(requests("DELETE", "/api/dashboard/shorts/avatars").size(), 1u);
    EXPECT_EQ(find(tile), nullptr);
}

TEST_F(GeneratorSection, AccountRowsShowLocksBeforeAccounts) {
    server.configure({{"locks", {{"tiktok", {{"temporarilyDisabled", true}, {"message", "Paused"}}}}}});
    signInDemo();
    ASSERT_FALSE(state->accounts(UGCPlatform::tiktok).isEmpty());
    EXPECT_EQ(text("ugc.publish.account.tiktok.status"), "Locked");
    EXPECT_FALSE(shown("ugc.publish.account.tiktok.menu"));
    EXPECT_EQ(find("ugc.publish.account.tiktok")->accessibleDescription(), "Publishing to TikTok is temporarily locked.");
    EXPECT_TRUE(shown("ugc.publish.account.instagram.menu")) << "the lock is TikTok's alone";

    state->setSocialAccounts({});
    EXPECT_EQ(text("ugc.publish.account.instagram.status"), "Not connected");
    EXPECT_EQ(find("ugc.publish.account.instagram")->accessibleDescription(),
              "Connect a Instagram account on the web dashboard.");
}

}  // namespace
}  // namespace vexora::test
