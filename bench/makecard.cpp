// Writes a synthetic instrument card: makecard DIR N [noisy]

#include "cardmaker.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    const bool noisy = argc == 4 && std::strcmp(argv[3], "noisy") == 0;
    if ((argc != 3 && !noisy) || std::atoi(argv[2]) <= 0) {
        std::fprintf(stderr, "usage: %s DIR PICTURES [noisy]\n", argv[0]);
        return 2;
    }
    CardMaker::Counts counts;
    bool made = false;
    if (!CardMaker::ensure(argv[1], std::atoi(argv[2]),
                           noisy ? CardMaker::Scene::Noisy : CardMaker::Scene::Generated, &counts,
                           &made)) {
        std::fprintf(stderr, "cannot write the card under %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %d pictures, %d decoys, %d folders%s\n", argv[1], counts.pictures,
                counts.decoys, counts.folders, made ? "" : " (already there)");
    return 0;
}
