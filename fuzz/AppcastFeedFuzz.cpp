// The update feed: any document is read or refused with an AppcastError, and the newest item
// is one no other item beats.

#include "FuzzHarness.h"

#include "shell/AppcastFeed.h"

using namespace vexora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    AppcastFeed feed;
    try {
        feed = AppcastFeed::parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const AppcastError&) {
        return 0;
    }
    const std::optional<AppcastItem> newest = feed.newestItem();
    fuzz::check(newest.has_value() == !feed.items.isEmpty(), "a feed with items has no newest one");
    for (const AppcastItem& item : feed.items) {
        fuzz::check(!item.version.isEmpty(), "an item without a version was kept");
        fuzz::check(!item.shownVersion().isEmpty(), "an item shows no version");
        fuzz::check(AppcastFeed::compareVersions(item.version, newest->version) <= 0, "an item is newer than the newest");
        fuzz::check(AppcastFeed::compareVersions(item.version, item.version) == 0, "a version differs from itself");
        const int order = AppcastFeed::compareVersions(item.version, feed.items.front().version);
        fuzz::check(order == -AppcastFeed::compareVersions(feed.items.front().version, item.version),
                    "version order is not antisymmetric");
    }
    return 0;
}
