#ifndef CARDMAKER_H
#define CARDMAKER_H

#include <string>

/**
 * Writes a synthetic instrument card: N pictures of the instrument's format (24-bit BMP
 * 320 x 240 whose header declares 230454 bytes, padded to 307792) in folders of 100 under
 * DCIM/, plus decoys the search must skip: .bmp files of the wrong size or with the wrong
 * header value, pictures under other suffixes, a hidden folder and hidden files holding
 * valid pictures. Plain POSIX, no Qt, so it can run before any Qt object exists.
 */
class CardMaker
{
public:
    struct Counts
    {
        int pictures = 0; ///< files the search must list
        int decoys = 0; ///< files it must skip
        int folders = 0;
        double seconds = 0;
    };

    /** Size of one picture file on the card, and the value the header's size field holds. */
    static constexpr long long PictureFileSize = 307792;
    static constexpr unsigned HeaderFileSize = 230454;

    /**
     * Makes the card under root unless a card of the same size is already there (a hidden
     * marker file records it). Returns false when a file cannot be written.
     */
    static bool ensure(const std::string &root, int pictures, Counts *counts, bool *made);
    /** The bytes of one picture; variant changes a band of pixels so that no two are alike. */
    static std::string picture(int variant);
};

#endif // CARDMAKER_H
