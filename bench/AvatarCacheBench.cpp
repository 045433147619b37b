// What an avatar lookup costs from each tier of the cache, and how long the GUI thread goes
// without running its event loop while a panel's worth of large images decodes from disk.
#include "Benchmarks.h"
#include "cache/UGCAvatarImageCache.h"
#include "support/DevServer.h"
#include "support/RunSync.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <algorithm>
#include <functional>

namespace vexora::bench {

using namespace vexora::test;

namespace {

constexpr int rounds = 31;
constexpr int largeImages = 50;
constexpr double frameBudgetMilliseconds = 16;

double medianMilliseconds(const std::function<void(int)>& prepare, const std::function<void(int)>& work) {
    std::vector<double> samples;
    for (int round = 0; round < rounds; ++round) {
        prepare(round);
        QElapsedTimer clock;
        clock.start();
        work(round);
        samples.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    return median(samples);
}

// A busy picture, so the PNG is large and inflating it costs real time.
void writeLargePNG(const QString& path, int seed) {
    QImage image(1024, 1024, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) line[x] = qRgb((x * y + seed) & 0xFF, (x ^ y) & 0xFF, (x + 3 * y + seed) & 0xFF);
    }
    image.save(path, "PNG", 50);
}

QCoro::Task<void> awaitAll(std::vector<QCoro::Task<std::optional<QImage>>> lookups) {
    for (auto& lookup : lookups) co_await std::move(lookup);
}

}  // namespace

std::vector<BenchRow> avatarCacheRows() {
    DevServer server;
    QNetworkAccessManager network;
    QTemporaryDir folder;
    auto faceURL = [&server](const QString& id) { return server.baseURL() + QStringLiteral("/assets/avatars/%1.png").arg(id); };

    std::unique_ptr<UGCAvatarImageCache> cache = std::make_unique<UGCAvatarImageCache>(folder.path(), network);
    const QString kept = faceURL(QStringLiteral("bench-kept"));
    runSync(cache->image(kept));
    const double memory = medianMilliseconds([](int) {}, [&](int) { runSync(cache->image(kept)); });
    const double disk = medianMilliseconds([&](int) { cache = std::make_unique<UGCAvatarImageCache>(folder.path(), network); },
                                           [&](int) { runSync(cache->image(kept)); });
    const double fetched = medianMilliseconds(
        [](int) {}, [&](int round) { runSync(cache->image(faceURL(QStringLiteral("bench-network-%1").arg(round)))); });

    QTemporaryDir largeFolder;
    cache = std::make_unique<UGCAvatarImageCache>(largeFolder.path(), network);
    std::vector<QString> largeURLs;
    for (int i = 0; i < largeImages; ++i) {
        largeURLs.push_back(QStringLiteral("https://bench.invalid/large-%1.png").arg(i));
        writeLargePNG(cache->imageDirectory() + QLatin1Char('/') + UGCAvatarImageCache::cacheFileName(largeURLs.back()), i);
    }
    QElapsedTimer sinceTick;
    qint64 longestGapNanoseconds = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGapNanoseconds = std::max(longestGapNanoseconds, sinceTick.nsecsElapsed());
        sinceTick.restart();
    });
    QElapsedTimer decodeClock;
    decodeClock.start();
    sinceTick.start();
    ticker.start();
    std::vector<QCoro::Task<std::optional<QImage>>> lookups;
    for (const QString& url : largeURLs) lookups.push_back(cache->image(url));
    runSync(awaitAll(std::move(lookups)));
    ticker.stop();
    const double decodeAll = double(decodeClock.nsecsElapsed()) / 1e6;

    const std::string repeat = "median of " + std::to_string(rounds);
    const double stall = double(longestGapNanoseconds) / 1e6;
    return {{"avatar lookup from memory", milliseconds(memory), "", repeat},
            {"avatar lookup from disk (96 px PNG)", milliseconds(disk), milliseconds(memory),
             times(disk / memory) + " of memory, " + repeat},
            {"avatar lookup from the network (devserver)", milliseconds(fetched), milliseconds(disk),
             times(fetched / disk) + " of disk, " + repeat},
            {"GUI-thread stall while 50 1024 px PNGs decode", milliseconds(stall), milliseconds(frameBudgetMilliseconds),
             times(stall / frameBudgetMilliseconds) + " of a frame; all decoded in " + milliseconds(decodeAll) + " on " +
                 std::to_string(QThreadPool::globalInstance()->maxThreadCount()) + " threads"}};
}

}  // namespace vexora::bench
