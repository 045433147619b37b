// What an avatar lookup costs from each tier of the cache, and how long the GUI thread goes
// without running its event loop while a panel's worth of large images decodes from disk.
#include "cache/UGCAvatarImageCache.h"
#include "support/DevServer.h"
#include "support/RunSync.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace vexora;
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
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
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

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
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

    std::printf("%-44s %12s\n", "avatar lookup", "median ms");
    std::printf("%-44s %12.3f\n", "from memory", memory);
    std::printf("%-44s %12.3f\n", "from disk (96 px PNG)", disk);
    std::printf("%-44s %12.3f\n", "from the network (local devserver)", fetched);
    std::printf("%-44s %12.1f\n", "disk / memory", disk / memory);
    std::printf("(median of %d rounds)\n\n", rounds);
    std::printf("%-44s %12s %10s\n", "GUI thread while decoding", "measured ms", "goal ms");
    std::printf("%-44s %12.1f %10.0f\n", "longest stall, 50 1024 px PNGs from disk", double(longestGapNanoseconds) / 1e6,
                frameBudgetMilliseconds);
    std::printf("(all %d decoded in %.0f ms on %d worker threads)\n", largeImages, decodeAll,
                QThreadPool::globalInstance()->maxThreadCount());
    return 0;
}
