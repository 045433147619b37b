// How much of the context load's latency the concurrent requests hide: the wall time of one
// load divided by the sum of the latencies injected into its six requests (ideal: about 1/6),
// and the same six made one after another for comparison.
#include "Benchmarks.h"
#include "client/UGCAPIClient.h"
#include "config/UGCAppConfiguration.h"
#include "foundation/JSONValue.h"
#include "support/DevServer.h"
#include "support/RunSync.h"
#include "workflow/UGCSessionVault.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <functional>

namespace vexora::bench {

using namespace vexora::test;

namespace {

constexpr int latencyMilliseconds = 150;
constexpr int rounds = 7;

double medianMilliseconds(const std::function<void()>& work) {
    std::vector<double> samples;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        work();
        samples.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    return median(samples);
}

}  // namespace

std::vector<BenchRow> contextLoadRows() {
    DevServer server({QStringLiteral("--latency-ms"), QString::number(latencyMilliseconds)});
    qputenv("VEXORA_API_BASE_URL", server.baseURL().toUtf8());
    QNetworkAccessManager network;
    UGCSessionVault vault;
    vault.replace(server.signInDemo());
    HTTPTransport transport(UGCAppConfiguration::core(), [&vault] { return vault.storedSession(); }, {}, network);
    UGCAPIClient client(transport);
    const QString tenant = runSync(client.fetchAuthenticatedContext()).tenantID;
    auto scoped = [&](const char* path) { return QStringLiteral("%1?tenantId=%2").arg(QLatin1String(path), tenant); };

    const std::vector<std::function<void()>> singles = {
        [&] { runSync(transport.request<JSONValue>(scoped("api/ai-insights/usage/stats"), "GET", std::nullopt, true)); },
        [&] { runSync(transport.request<JSONValue>(scoped("api/ai-insights/favorites"), "GET", std::nullopt, true)); },
        [&] { runSync(transport.request<JSONValue>(scoped("api/dashboard/products"), "GET", std::nullopt, true)); },
        [&] { runSync(transport.request<JSONValue>(scoped("api/social-accounts"), "GET", std::nullopt, true)); },
        [&] { runSync(client.fetchHistory(tenant, std::nullopt)); },
        [&] { runSync(client.fetchSchedules(tenant, std::nullopt)); },
    };
    double sequential = 0;
    for (const auto& single : singles) sequential += medianMilliseconds(single);
    const double concurrent = medianMilliseconds([&] { runSync(client.fetchContextBundle(tenant)); });

    const double injected = 6.0 * latencyMilliseconds;
    const std::string repeat = ", median of " + std::to_string(rounds);
    return {{"context load / its 6 injected latencies", milliseconds(concurrent), milliseconds(injected),
             times(concurrent / injected) + " (ideal 0.17x" + repeat + ")"},
            {"  the 6 requests one after another", milliseconds(sequential), milliseconds(injected),
             times(sequential / injected) + " (" + std::to_string(latencyMilliseconds) + " ms each" + repeat + ")"}};
}

}  // namespace vexora::bench
