// Runs a fuzz target over files and directories of inputs without libFuzzer, so that the
// normal build's tests keep every corpus and regression input passing.

#include "FuzzHarness.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

bool replay(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray input = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.constData()), std::size_t(input.size()));
    return true;
}

}  // namespace

// A directory that does not exist holds no inputs: a target need not have regressions yet.
int main(int argc, char** argv) {
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const QFileInfo info(QString::fromLocal8Bit(argv[i]));
        QStringList files;
        if (info.isDir()) {
            for (const QFileInfo& entry : QDir(info.filePath()).entryInfoList(QDir::Files, QDir::Name))
                files.append(entry.filePath());
        } else if (info.exists()) {
            files.append(info.filePath());
        }
        for (const QString& file : files) {
            if (!replay(file)) return 1;
            ++replayed;
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    return replayed > 0 ? 0 : 1;
}
