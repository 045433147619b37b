// vexora-ugc-docs: writes vexora-ugc's manual page, the tray app's and the bash completion from the
// command table at build time. Not installed.

#include "CliDocs.h"

#include <QSaveFile>
#include <cstdio>

namespace {

bool write(const char* path, const QString& text) {
    QSaveFile file(QString::fromLocal8Bit(path));
    if (file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit()) return true;
    std::fprintf(stderr, "vexora-ugc-docs: cannot write %s: %s\n", path, qPrintable(file.errorString()));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: vexora-ugc-docs CLI-PAGE TRAY-APP-PAGE BASH-COMPLETION\n");
        return 2;
    }
    // A table the pages would misreport stops the build instead.
    if (const QStringList problems = vexora::cli::tableProblems(); !problems.isEmpty()) {
        for (const QString& problem : problems) std::fprintf(stderr, "vexora-ugc-docs: %s\n", qPrintable(problem));
        return 1;
    }
    const bool written = write(argv[1], vexora::cli::cliManualPage()) && write(argv[2], vexora::cli::trayAppManualPage()) &&
                         write(argv[3], vexora::cli::bashCompletion());
    return written ? 0 : 1;
}
