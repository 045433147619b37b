// How much of the context load's latency the concurrent requests hide: the wall time of one
// load divided by the sum of its six requests made one after another (ideal: about 1/6).
#include "client/UGCAPIClient.h"
#include "config/UGCAppConfiguration.h"
#include "foundation/JSONValue.h"
#include "support/DevServer.h"
#include "support/RunSync.h"
#include "workflow/UGCSessionVault.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace vexora;
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
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
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

    std::printf("%-44s %12s %14s %8s\n", "benchmark", "measured ms", "reference ms", "ratio");
    std::printf("%-44s %12.1f %14.1f %8.3f\n", "context load vs. its six requests in a row", concurrent, sequential,
                concurrent / sequential);
    std::printf("(%d ms injected latency per request, median of %d rounds; ideal ratio about %.3f)\n", latencyMilliseconds,
                rounds, 1.0 / 6);
    return 0;
}
