// Holds the program's single-instance lock for the tests: takes the lock in the folder given as the
// only argument, prints "locked" or "refused", and keeps running until its standard input closes.
#include <QString>

#include <cstdio>

#include "platform/SingleInstance.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lock_holder FOLDER\n");
        return 2;
    }
    zw::SingleInstance instance(QStringLiteral("Zettelwerk"), QString::fromLocal8Bit(argv[1]));
    const bool locked = instance.acquire();
    std::printf("%s\n", locked ? "locked" : "refused");
    std::fflush(stdout);
    while (std::fgetc(stdin) != EOF) {
    }
    return 0;
}
