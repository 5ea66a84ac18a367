#ifndef WALKBASELINE_H
#define WALKBASELINE_H

#include <string>
#include <vector>

/**
 * The floor for the picture search: a depth-first walk with readdir, a case-insensitive sort
 * of each folder, fstatat of every entry, and for each .bmp of the instrument's size a
 * 54-byte pread of its header; hidden entries are skipped, as the search skips them.
 * Returns the full paths of the pictures in visiting order.
 */
class WalkBaseline
{
public:
    static std::vector<std::string> walk(const std::string &root);
};

#endif // WALKBASELINE_H
