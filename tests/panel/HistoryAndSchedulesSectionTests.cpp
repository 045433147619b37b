#include "panel/PanelFixture.h"

#include "panel/UGCRemoteAvatarImage.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSpinBox>

namespace vexora::test {
namespace {

class HistorySection : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        if (IsSkipped()) return;
        signInDemo();
        click("ugc.history.disclosure");
    }

    QStringList shownRows() {
        QStringList ids;
        for (QWidget* row : panel->findChildren<QWidget*>(QRegularExpression("^ugc\\.history\\.row\\.")))
            if (row->isVisibleTo(panel.get())) ids << row->objectName().mid(QStringLiteral("ugc.history.row.").size());
        return ids;
    }
};

TEST_F(HistorySection, PagesThroughTheLoadedEntriesAndKeepsThePageWhileLoadingMore) {
    ASSERT_TRUE(state->isHistoryExpanded());
    const QList<UGCHistoryItem> first25 = state->history().mid(0, 25);
    state->setHistory(first25);
    state->setHistoryNextCursor(first25.last().id);
    state->setHistoryHasMore(true);
    EXPECT_EQ(text("ugc.history.loaded"), "25 loaded");
    EXPECT_EQ(text("ugc.history.page"), "Page 1 of 3");
    EXPECT_EQ(shownRows().size(), 10);
    EXPECT_FALSE(enabled("ugc.history.previous"));
    EXPECT_EQ(find("ugc.history.next")->toolTip(), "Next history page");

    click("ugc.history.next");
    click("ugc.history.next");
    EXPECT_EQ(text("ugc.history.page"), "Page 3 of 3");
    EXPECT_EQ(shownRows(), (QStringList{first25[20].id, first25[21].id, first25[22].id, first25[23].id, first25[24].id}));
    EXPECT_FALSE(enabled("ugc.history.next"));

    click("ugc.history.load-more");
    EXPECT_EQ(text("ugc.history.load-more"), "Loading more history");
    EXPECT_FALSE(enabled("ugc.history.load-more"));
    ASSERT_TRUE(waitUntil([&] { return !state->isHistoryLoading(); }));
    EXPECT_EQ(text("ugc.history.loaded"), "64 loaded");
    EXPECT_EQ(text("ugc.history.page"), "Page 3 of 7") << "loading more does not move the page";
    EXPECT_EQ(text("ugc.history.load-more"), "Load more history");
    EXPECT_TRUE(enabled("ugc.history.next"));
    click("ugc.history.previous");
    EXPECT_EQ(text("ugc.history.page"), "Page 2 of 7");

    state->setHistory(first25.mid(0, 3));
    EXPECT_EQ(text("ugc.history.page"), "Page 1 of 1") << "a shorter list clamps the page";
    EXPECT_EQ(shownRows().size(), 3);

    state->setHistory({});
    EXPECT_TRUE(shown("ugc.history.empty"));
    EXPECT_FALSE(shown("ugc.history.list"));
    click("ugc.history.dismiss");
    EXPECT_TRUE(state->isEmptyHistoryDismissed());
    EXPECT_FALSE(shown("ugc.history.empty"));
    click("ugc.history.disclosure");
    EXPECT_FALSE(state->isHistoryExpanded());
    EXPECT_FALSE(shown("ugc.history.empty"));
    EXPECT_FALSE(shown("ugc.history.list"));
}

TEST_F(HistorySection, RowActionsOpenDownloadCopyAndRegenerate) {
    UGCHistoryItem local;
    local.id = "gen-local";
    local.topic = QStringLiteral("A topic, no title");
    local.videoURL = QStringLiteral("file:///home/me/video.mp4");
    UGCHistoryItem bare;
    bare.id = "gen-bare";
    const UGCHistoryItem web = state->history().front();
    state->setHistory({local, web, bare});
    EXPECT_EQ(text("ugc.history.title.gen-local"), "A topic, no title");
    EXPECT_EQ(text("ugc.history.title.gen-bare"), "gen-bare") << "neither title nor topic";
    EXPECT_FALSE(shown("ugc.history.open.gen-local")) << "only web pages open";
    EXPECT_FALSE(enabled("ugc.history.download.gen-local"));
    EXPECT_FALSE(shown("ugc.history.copy-script.gen-local")) << "no script to copy";
    QWidget* row = find("ugc.history.row." + web.id);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->findChild<UGCRemoteAvatarImage*>()->avatarURL(), *web.avatarURL);

    click("ugc.history.open." + web.id);
    EXPECT_EQ(openedPages, std::vector<QUrl>{QUrl(*web.videoURL)});
    click("ugc.history.copy-script." + web.id);
    EXPECT_EQ(copied, std::vector<QString>{*web.script});
    QString proposedName;
    state->saveLocationChooser = [&](const QString& name, auto) { proposedName = name; };
    click("ugc.history.download." + web.id);
    EXPECT_EQ(proposedName, "vexora-ugc-" + web.id + ".mp4");

    click("ugc.history.regenerate.gen-local");
    EXPECT_EQ(state->topic(), "A topic, no title");
    state->setIsDownloadingVideo(true);
    EXPECT_EQ(find("ugc.history.row." + web.id), row) << "rows are rebuilt only when their entries change";
    EXPECT_FALSE(enabled("ugc.history.download." + web.id)) << "one download at a time";
    state->setIsDownloadingVideo(false);
    EXPECT_TRUE(enabled("ugc.history.download." + web.id));
}

TEST_F(HistorySection, RetryFailedLoadsTheEntryAndPublishesOnlyItsFailedAccounts) {
    // The seed's second entry has one failed Instagram result and no success.
    const UGCHistoryItem entry = state->history()[1];
    ASSERT_TRUE(entry.publishResults && entry.publishResults->results.size() == 1);
    EXPECT_FALSE(shown("ugc.history.retry-failed." + state->history()[0].id)) << "nothing failed there";
    click("ugc.history.retry-failed." + entry.id);
    EXPECT_EQ(state->videoURL(), entry.videoURL);
    EXPECT_EQ(state->script(), entry.script);
    EXPECT_EQ(state->topic(), *entry.topic);
    ASSERT_TRUE(waitUntil([&] { return state->step() == UGCStep::complete; }));
    const Json body = onlyBody("/api/dashboard/shorts/publish");
    EXPECT_EQ(body.at("targets"), Json::parse(R"([{"platform":"instagram_reels","account_id":"acct-ig-1"}])"));
    EXPECT_EQ(body.at("db_id"), entry.id.toStdString());
}

class SchedulesSection : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        if (IsSkipped()) return;
        signInDemo();
        click("ugc.schedules.disclosure");
    }
};

TEST_F(SchedulesSection, RowsNameSummariseAndPauseTheirSchedule) {
    // The unnamed schedule's title is CliTest.AvatarsAndSchedulesAreManagedByID's; here a kept
    // row follows its schedule.
    ASSERT_TRUE(state->isSchedulesExpanded());
    EXPECT_EQ(text("ugc.schedule.state.sched-1"), "Active");
    EXPECT_EQ(text("ugc.schedule.toggle.sched-1"), "Pause");

    UGCSchedule three = state->schedules()[2];
    three.runHours = {9, 12, 15};
    three.defaultTopic = QStringLiteral("Trail tips");
    state->setSchedules({state->schedules()[0], state->schedules()[1], three});
    EXPECT_EQ(text("ugc.schedule.summary.sched-3"), "3x/day at 09:00, 12:00, 15:00");
    EXPECT_EQ(text("ugc.schedule.title.sched-3"), "Trail tips");

    server.script("PATCH", "/api/dashboard/shorts/schedules/sched-1", Json::array({{{"delay_ms", 200}, {"body",
        R"({"schedule":{"id":"sched-1","favorite_id":"fav-1","name":"Linen weekdays","runs_per_day":2,"run_hours":[9,17],"is_paused":true}})"}}}));
    click("ugc.schedule.toggle.sched-1");
    EXPECT_EQ(text("ugc.schedule.toggle.sched-1"), "Saving...");
    EXPECT_FALSE(enabled("ugc.schedule.toggle.sched-1"));
    EXPECT_FALSE(enabled("ugc.schedule.delete.sched-1"));
    EXPECT_TRUE(enabled("ugc.schedule.toggle.sched-2")) << "other schedules stay free";
    ASSERT_TRUE(waitUntil([&] { return state->mutatingScheduleIDs().isEmpty(); }));
    EXPECT_EQ(text("ugc.schedule.toggle.sched-1"), "Resume");
    EXPECT_EQ(text("ugc.schedule.state.sched-1"), "Paused");
    EXPECT_TRUE(enabled("ugc.schedule.delete.sched-1"));
}

TEST_F(SchedulesSection, DeletingAsksInsideTheRowFirst) {
    const std::string path = "/api/dashboard/shorts/schedules/sched-2";
    EXPECT_FALSE(shown("ugc.schedule.delete-confirm.sched-2"));
    click("ugc.schedule.delete.sched-2");
    EXPECT_TRUE(shown("ugc.schedule.delete-confirm.sched-2"));
    click("ugc.schedule.delete-confirm.cancel.sched-2");
    EXPECT_FALSE(shown("ugc.schedule.delete-confirm.sched-2"));
    spin(50);
    EXPECT_TRUE(requests("DELETE", path).empty());

    click("ugc.schedule.delete.sched-2");
    // Another schedule changing keeps this row's question open.
    UGCSchedule renamed = state->schedules()[0];
    renamed.name = QStringLiteral("Renamed");
    state->setSchedules({renamed, state->schedules()[1], state->schedules()[2]});
    EXPECT_TRUE(shown("ugc.schedule.delete-confirm.sched-2"));
    click("ugc.schedule.delete-confirm.delete.sched-2");
    EXPECT_FALSE(shown("ugc.schedule.delete-confirm.sched-2"));
    ASSERT_TRUE(waitUntil([&] { return state->schedules().size() == 2; }));
    EXPECT_EQ(requests("DELETE", path).size(), 1u);
    EXPECT_FALSE(shown("ugc.schedule.row.sched-2"));
    EXPECT_TRUE(shown("ugc.schedule.row.sched-1"));
}

TEST_F(SchedulesSection, NoticesStandInForMissingFacesSchedulesOrScheduling) {
    ASSERT_TRUE(waitUntil([&] { return !state->isAvatarsLoading(); }));
    state->setAvatars({});
    state->setIsAvatarsLoading(true);
    EXPECT_TRUE(shown("ugc.schedule.avatar-library-empty"));
    EXPECT_FALSE(shown("ugc.schedule.avatar-library"));
    const auto notice = [&] { return find("ugc.schedule.avatar-library-empty")->findChildren<QLabel*>().last()->text(); };
    EXPECT_EQ(notice(), "Loading avatar library...");
    state->setIsAvatarsLoading(false);
    EXPECT_EQ(notice(), "No reusable avatars yet. Generate one above to schedule UGC.");

    EXPECT_FALSE(shown("ugc.schedules.empty"));
    state->setSchedules({});
    EXPECT_TRUE(shown("ugc.schedules.empty"));
    EXPECT_EQ(text("ugc.schedules.empty"), "No schedules yet.");

    server.configure({{"schedules_enabled", false}});
    state->fetchContext();
    ASSERT_TRUE(waitUntil([&] { return contextLoaded(); }));
    EXPECT_TRUE(shown("ugc.schedules.disabled"));
    EXPECT_EQ(text("ugc.schedules.disabled"), "Scheduling is disabled for this workspace.");
    EXPECT_FALSE(shown("ugc.schedule.builder"));
    EXPECT_FALSE(shown("ugc.schedule.row.sched-1"));
}

// The draft's validation texts are ScheduleDraft's own cases; here they only have to show.
TEST_F(SchedulesSection, TheBuilderEditsTheDraftAndCreatesTheSchedule) {
    ASSERT_EQ(state->scheduleDraft(), ScheduleDraft{});
    EXPECT_EQ(text("ugc.schedule.validation-text"), "Choose a favorite first.");
    EXPECT_FALSE(enabled("ugc.schedule.create"));

    auto* favorite = find<QComboBox>("ugc.schedule.favorite");
    ASSERT_EQ(favorite->itemText(0), "Choose favorite");
    favorite->setCurrentIndex(2);
    emit favorite->activated(2);
    EXPECT_EQ(state->scheduleDraft().favoriteID, state->favorites()[1].id);
    emit favorite->activated(0);
    EXPECT_EQ(state->scheduleDraft().favoriteID, std::nullopt) << "Choose favorite stands for none";
    emit favorite->activated(2);

    auto* topic = find<QLineEdit>("ugc.schedule.default-topic");
    topic->setFocus();
    QTest::keyClicks(topic, "Tips");
    topic->setCursorPosition(1);
    QTest::keyClicks(topic, "o");
    EXPECT_EQ(state->scheduleDraft().defaultTopic, "Toips");
    EXPECT_EQ(topic->cursorPosition(), 2) << "refreshing never moves the cursor";
    EXPECT_EQ(text("ugc.schedule.validation-text"), "Choose or generate an avatar first.");
    EXPECT_EQ(text("ugc.schedule.topic-source.gaps"), "Gaps");
    click("ugc.schedule.topic-source.knowledge");
    EXPECT_EQ(state->scheduleDraft().topicSource, ScheduleTopicSource::knowledge);

    ASSERT_TRUE(waitUntil([&] { return !state->isAvatarsLoading() && state->avatars().size() >= 3; }));
    const QList<AvatarListItem> library = state->avatars();
    const auto marked = [&](const AvatarListItem& item) {
        QWidget* face = find("ugc.schedule.avatar." + item.id);
        EXPECT_EQ(face->accessibleName(), "Use avatar for schedule");
        for (QLabel* label : face->findChildren<QLabel*>())
            if (label->property("symbol") == "checkmark.circle.fill") return label->isVisibleTo(panel.get());
        return false;
    };
    EXPECT_EQ(find("ugc.schedule.avatar-help")->accessibleName(), "Schedule avatar help");
    EXPECT_FALSE(shown("ugc.schedule.avatar-selected"));
    click("ugc.schedule.avatar." + library[2].id);
    EXPECT_EQ(state->scheduleDraft().avatarURL, library[2].avatarURL);
    EXPECT_TRUE(shown("ugc.schedule.avatar-selected"));
    EXPECT_TRUE(marked(library[2]));
    EXPECT_FALSE(marked(library[0]));

    // Use selected offers the generator's reusable avatar when the draft does not use it yet.
    state->setReusedAvatarURL(QString());
    EXPECT_FALSE(shown("ugc.schedule.use-selected")) << "an empty selection is none";
    state->setReusedAvatarURL(library[0].avatarURL);
    click("ugc.schedule.use-selected");
    EXPECT_EQ(state->scheduleDraft().avatarURL, library[0].avatarURL);
    EXPECT_FALSE(shown("ugc.schedule.use-selected")) << "the draft uses it already";
    EXPECT_TRUE(marked(library[0]));

    click("ugc.schedule.avatar-clear");
    EXPECT_EQ(state->scheduleDraft().avatarURL, "");
    EXPECT_FALSE(shown("ugc.schedule.avatar-selected"));
    EXPECT_FALSE(marked(library[0]));
    EXPECT_TRUE(shown("ugc.schedule.use-selected"));
    click("ugc.schedule.use-selected");

    EXPECT_FALSE(shown("ugc.schedule.avatar-url"));
    click("ugc.schedule.advanced-avatar-url");
    EXPECT_EQ(find<QLineEdit>("ugc.schedule.avatar-url")->text(), library[0].avatarURL);

    find<QSpinBox>("ugc.schedule.runs-per-day")->setValue(3);
    EXPECT_EQ(text("ugc.schedule.run-hours"), "Runs at 09:00, 10:00, 11:00");
    EXPECT_EQ(find<QSpinBox>("ugc.schedule.runs-per-day")->text(), "Runs per day: 3");

    ASSERT_FALSE(shown("ugc.schedule.validation"));
    click("ugc.schedule.create");
    ASSERT_TRUE(waitUntil([&] { return state->schedules().size() == 4; }));
    const Json body = onlyBody("/api/dashboard/shorts/schedules");
    EXPECT_EQ(body.at("run_hours"), Json::parse("[9,10,11]"));
    EXPECT_EQ(body.at("topic_source"), "knowledge");
    EXPECT_EQ(state->scheduleDraft(), ScheduleDraft{});
    EXPECT_EQ(topic->text(), "") << "the reset draft shows";
}

}  // namespace
}  // namespace vexora::test
