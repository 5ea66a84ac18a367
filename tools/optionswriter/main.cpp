// Writes options.xml through the program's own writer, generation after generation, until it is
// killed. The kill test stops it at random moments and checks that the file survived whole.
//
// Usage: optionswriter <options.xml> <existing history folder> <first generation>
// Prints "begin N" before and "done N" after each write, flushed at once, so the test knows
// which generations were complete when the kill came.

#include "optionsfile.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

// Generations differ in length, so a file mixed from two of them cannot pass as either.
QByteArray blob(quint64 generation, int size)
{
    QByteArray bytes(size + int(generation % 7) * 1000, Qt::Uninitialized);
    quint32 x = quint32(generation) * 2654435761u + 1;
    for (char &byte : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        byte = char(x);
    }
    return bytes;
}

void report(const char *what, quint64 generation)
{
    std::printf("%s %llu\n", what, static_cast<unsigned long long>(generation));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <options.xml> <history folder> <first generation>\n",
                     argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    OptionParam param;
    param.historyFilesPath = QString::fromLocal8Bit(argv[2]);
    for (quint64 generation = std::strtoull(argv[3], nullptr, 10);; ++generation) {
        // The generation travels in Language, which the readers take unchanged.
        param.language = QString::number(generation);
        param.allowAlarm = generation & 1;
        param.allowAlarmSound = generation & 2;
        param.allowLogGeneration = generation & 4;
        report("begin", generation);
        if (!OptionsFile::save(path, blob(generation, 64 * 1024), blob(~generation, 512), param)) {
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
            return 1;
        }
        report("done", generation);
    }
}
