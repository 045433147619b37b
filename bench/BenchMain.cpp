// vexora_bench: every benchmark in one run, printed as one table of ratios. Asserts nothing.
#include "Benchmarks.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <exception>
#include <functional>

using namespace vexora::bench;

int main(int argc, char** argv) {
    // The panel benchmark renders in this process; the tray app gets a display of its own.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::vector<std::pair<const char*, std::function<std::vector<BenchRow>()>>> sections = {
        {"start-up", startupRows},         {"click to panel", clickToVisibleRows},
        {"memory", memoryRows},
        {"context load", contextLoadRows}, {"polling", pollingRows},
        {"avatar cache", avatarCacheRows}, {"panel refresh", panelRefreshRows},
        {"command line", cliRows},
    };
    QElapsedTimer clock;
    clock.start();
    std::vector<BenchRow> rows;
    int failures = 0;
    // Named sections only, when any are named.
    const QStringList wanted = app.arguments().mid(1);
    for (const auto& [name, measure] : sections) {
        if (!wanted.isEmpty() && !wanted.contains(QString::fromLatin1(name))) continue;
        std::fprintf(stderr, "bench: %s...\n", name);
        try {
            for (BenchRow& row : measure()) rows.push_back(std::move(row));
        } catch (const std::exception& error) {
            ++failures;
            rows.push_back({name, "-", "-", std::string("failed: ") + error.what()});
        }
    }
    std::printf("\n");
    std::fputs(formatTable(rows).c_str(), stdout);
    std::printf("\n(%d benchmarks in %.0f s, one run on this machine)\n", int(rows.size()), double(clock.elapsed()) / 1000);
    return failures == 0 ? 0 : 1;
}
