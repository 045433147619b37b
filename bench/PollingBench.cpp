// The render polls of one `vexora-ugc generate` keep their 2 s rhythm: the intervals between
// the poll requests as the devserver logged their arrival, over a render that takes 20 polls.
#include "Benchmarks.h"
#include "CliRunner.h"
#include "support/DevServer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <stdexcept>

namespace vexora::bench {

namespace {

constexpr int polls = 20;
constexpr double intervalMilliseconds = 2000;

std::string percent(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%+.2f %%", value);
    return text;
}

}  // namespace

std::vector<BenchRow> pollingRows() {
    if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")) throw std::runtime_error("needs ./dev's private keyring session");
    test::DevServer server;
    server.configure({{"render_polls", polls}});
    CliRunner cli(server.baseURL());
    cli.signIn();
    const CliRunner::Run run = cli.run({"generate", "--topic", "Polling rhythm", "--duration", "5"});
    if (run.exitCode != 0) throw std::runtime_error("vexora-ugc generate failed: " + run.err.toStdString());

    std::vector<double> arrivals;
    for (const test::LoggedRequest& request : server.requests("/api/dashboard/shorts/render-"))
        if (request.method == "GET") arrivals.push_back(request.startedAt * 1000);
    if (int(arrivals.size()) != polls) throw std::runtime_error("expected " + std::to_string(polls) + " polls");
    std::sort(arrivals.begin(), arrivals.end());
    std::vector<double> intervals;
    for (size_t i = 1; i < arrivals.size(); ++i) intervals.push_back(arrivals[i] - arrivals[i - 1]);
    const double mean = std::accumulate(intervals.begin(), intervals.end(), 0.0) / double(intervals.size());
    double largest = 0;
    for (double interval : intervals) largest = std::max(largest, std::abs(interval - intervalMilliseconds));
    const std::string nominal = milliseconds(intervalMilliseconds);
    return {{"render poll interval, mean over 20 polls", milliseconds(mean), nominal, times(mean / intervalMilliseconds)},
            {"  drift per poll", percent((mean - intervalMilliseconds) / intervalMilliseconds * 100), "0 %",
             milliseconds(mean - intervalMilliseconds) + " a poll"},
            {"  largest deviation from 2 s", milliseconds(largest), nominal,
             percent(largest / intervalMilliseconds * 100) + " of the interval"}};
}

}  // namespace vexora::bench
