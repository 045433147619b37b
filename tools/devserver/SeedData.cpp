#include "SeedData.h"

#include <cstdio>

namespace devserver {

using nlohmann::json;

namespace {

std::string numbered(const char* prefix, int number) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%03d", prefix, number);
    return text;
}

std::string isoTime(int minutesAgo) {
    // A fixed day keeps the seed reproducible.
    const int day = 1 + (minutesAgo / 1440) % 28, hour = (minutesAgo / 60) % 24, minute = minutesAgo % 60;
    char text[32];
    std::snprintf(text, sizeof text, "2026-11-%02dT%02d:%02d:00Z", 28 - day + 1, 23 - hour, 59 - minute);
    return text;
}

const char* const topics[] = {"Summer sale on linen shirts", "Three ways to style white sneakers",
                              "Why our coffee beans taste better", "Unboxing the new travel backpack",
                              "Morning routine with our skincare set", "Behind the scenes at the workshop"};

json historyEntry(const std::string& origin, int number, int count) {
    const std::string id = numbered("gen-", number);
    json entry = {{"id", id},
                  {"topic", topics[number % 6]},
                  {"title", std::string(topics[number % 6]) + " #" + std::to_string(number)},
                  {"script", "Hey! Let me show you something. " + std::string(topics[number % 6]) + "."},
                  {"video_url", videoURL(origin, id)},
                  {"avatar_url", avatarURL(origin, numbered("avatar-", 1 + number % 60))},
                  {"favorite_id", "fav-" + std::to_string(1 + number % 4)},
                  {"created_at", isoTime((count + 6 - number) * 97)}};
    if (number % 3 == 0) entry["duration"] = 10;
    else entry["duration_seconds"] = number % 2 ? 5 : 15;
    if (number % 7 == 0) entry["schedule_id"] = "sched-1";
    const json ok = {{"platform", "tiktok"}, {"account_id", "acct-tt-1"}, {"status", "success"}, {"ok", true},
                     {"post_id", "tt-" + id}, {"url", "https://www.tiktok.com/@demo/video/" + id}};
    const json failed = number % 2 ? json{{"platform", "instagram_reels"}, {"account_id", "acct-ig-1"}, {"ok", false},
                                          {"error", {{"code", "TOKEN_EXPIRED"}, {"message", "Reconnect Instagram."}}}}
                                   : json{{"platform", "instagram_reels"}, {"account_id", "acct-ig-1"}, {"status", "failed"},
                                          {"error", "The platform rejected the upload."}};
    switch (number % 4) {
    case 0: entry["publish_results"] = {{"results", {ok}}, {"metadataProvider", "devserver"}, {"timings", {{"publish_ms", 1200}}}}; break;
    case 1: entry["publish_results"] = json::array({ok, failed}); break;
    case 2: break;  // never published
    default: entry["publish_results"] = {{"results", {failed}}}; break;
    }
    return entry;
}

}  // namespace

std::string avatarURL(const std::string& origin, const std::string& id) { return origin + "/assets/avatars/" + id + ".png"; }

std::string videoURL(const std::string& origin, const std::string& id) { return origin + "/assets/videos/" + id + ".mp4"; }

Seed makeSeed(const std::string& origin, int historyCount, int avatarCount) {
    Seed seed;
    seed.balanceCredits = 1250.5;
    seed.favorites = json::array({{{"id", "fav-1"}, {"domain", "linenandco.example"}, {"name", "Linen & Co"}},
                                  {{"id", "fav-2"}, {"domain", "brewhouse.example"}, {"name", "Brew House Coffee"}},
                                  {{"id", "fav-3"}, {"domain", "trailpack.example"}, {"name", "Trailpack"}},
                                  {{"id", "fav-4"}, {"domain", "glowskin.example"}}});
    seed.products = json::array({{{"id", "prod-1"}, {"name", "Linen shirt"}},
                                 {{"id", "prod-2"}, {"name", "Cold brew kit"}},
                                 {{"id", "prod-3"}, {"file_name", "backpack-catalogue.pdf"}},
                                 {{"id", "prod-4"}, {"name", "Night cream"}},
                                 {{"id", "prod-5"}, {"file_name", "spring-lookbook.pdf"}}});
    seed.accounts = json::array({
        {{"id", "acct-tt-1"}, {"platform", "tiktok"}, {"account_id", "7281001"}, {"account_name", "@linenandco"}, {"is_active", true}},
        {{"id", "acct-tt-2"}, {"platform", "tiktok"}, {"account_id", "7281002"}, {"account_name", "@brewhouse"}, {"is_active", true}},
        {{"id", "acct-tt-3"}, {"platform", "tiktok"}, {"account_id", "7281003"}, {"account_name", "@old_shop"}, {"is_active", false}},
        {{"id", "acct-ig-1"}, {"platform", "instagram"}, {"account_id", "178410001"}, {"account_name", "linen.and.co"}, {"is_active", true}},
        {{"id", "acct-ig-2"}, {"platform", "instagram"}, {"account_id", "178410002"}, {"is_active", false}},
    });
    seed.locks = {{"tiktok", false}, {"instagram", {{"temporarilyDisabled", false}, {"message", "Instagram publishing is available."}}}};
    seed.history = json::array();
    for (int number = historyCount; number >= 1; --number) seed.history.push_back(historyEntry(origin, number, historyCount));
    seed.avatars = json::array();
    for (int number = 1; number <= avatarCount; ++number) {
        const std::string id = numbered("avatar-", number);
        seed.avatars.push_back({{"id", id}, {"avatar_url", avatarURL(origin, id)}, {"created_at", isoTime(number * 131)}});
    }
    seed.schedules = json::array({
        {{"id", "sched-1"}, {"favorite_id", "fav-1"}, {"name", "Linen weekdays"}, {"default_topic", "New arrivals"},
         {"topic_source", "manual"}, {"avatar_url", avatarURL(origin, "avatar-001")}, {"runs_per_day", 2},
         {"run_hours", {9, 17}}, {"is_paused", false}, {"is_enabled", true}},
        {{"id", "sched-2"}, {"favorite_id", "fav-2"}, {"name", "Coffee gaps"}, {"topic_source", "gap"},
         {"default_avatar_config", {{"avatar_url", avatarURL(origin, "avatar-002")}}}, {"runs_per_day", 1}, {"run_hours", {8}}},
        {{"id", "sched-3"}, {"favorite_id", "fav-3"}, {"topic_source", "knowledge"}, {"avatar_url", avatarURL(origin, "avatar-003")},
         {"runs_per_day", 3}, {"run_hours", {7, 12, 19}}, {"is_enabled", false}},
    });
    return seed;
}

}  // namespace devserver
