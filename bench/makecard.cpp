// Writes a synthetic instrument card: makecard DIR N

#include "cardmaker.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 3 || std::atoi(argv[2]) <= 0) {
        std::fprintf(stderr, "usage: %s DIR PICTURES\n", argv[0]);
        return 2;
    }
    CardMaker::Counts counts;
    bool made = false;
    if (!CardMaker::ensure(argv[1], std::atoi(argv[2]), &counts, &made)) {
        std::fprintf(stderr, "cannot write the card under %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %d pictures, %d decoys, %d folders%s\n", argv[1], counts.pictures,
                counts.decoys, counts.folders, made ? "" : " (already there)");
    return 0;
}
