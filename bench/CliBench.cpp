// vexora-ugc's wall times, signed in against the devserver: `status` next to `--help` (the
// program's own start), and `generate --stub` next to the pauses the stub run is scripted to take.
#include "Benchmarks.h"
#include "CliRunner.h"
#include "support/DevServer.h"

#include <stdexcept>

namespace vexora::bench {

namespace {

constexpr int rounds = 5;
constexpr double stubPausesMilliseconds = 250 + 250 + 350;  // script, avatar, video steps

double medianWallTime(CliRunner& cli, const QStringList& arguments) {
    std::vector<double> samples;
    for (int round = 0; round < rounds; ++round) {
        const CliRunner::Run run = cli.run(arguments);
        if (run.exitCode != 0) throw std::runtime_error("vexora-ugc " + arguments.join(' ').toStdString() + " failed");
        samples.push_back(run.milliseconds);
    }
    return median(samples);
}

}  // namespace

std::vector<BenchRow> cliRows() {
    if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")) throw std::runtime_error("needs ./dev's private keyring session");
    test::DevServer server;
    CliRunner cli(server.baseURL());
    cli.signIn();
    const double help = medianWallTime(cli, {"--help"});
    const double status = medianWallTime(cli, {"status"});
    const double stub = medianWallTime(cli, {"generate", "--stub", "--topic", "Linen care"});
    const std::string repeat = ", median of " + std::to_string(rounds);
    return {{"vexora-ugc status (signed in)", milliseconds(status), milliseconds(help),
             times(status / help) + " of vexora-ugc --help" + repeat},
            {"vexora-ugc generate --stub", milliseconds(stub), milliseconds(stubPausesMilliseconds),
             times(stub / stubPausesMilliseconds) + " of its scripted pauses" + repeat}};
}

}  // namespace vexora::bench
