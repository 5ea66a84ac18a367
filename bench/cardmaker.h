#ifndef CARDMAKER_H
#define CARDMAKER_H

#include <string>

/**
 * Writes a synthetic instrument card: N pictures of the instrument's format (24-bit BMP
 * 320 x 240 whose header declares 230454 bytes, padded to 307792) in folders of 100 under
 * DCIM/, plus decoys the search must skip: .bmp files of the wrong size or with the wrong
 * header value, pictures under other suffixes, a hidden folder and hidden files holding
 * valid pictures. A generated card's pictures have far more than 256 colours; a noisy card's
 * are thermal pictures as a sensor gives them: each pixel's index into the iron palette is a
 * smooth field plus uniform noise of +-3 steps. No Qt object is needed.
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

    enum class Scene { Generated, Noisy };

    /**
     * Makes the card under root unless a card of the same size is already there (a hidden
     * marker file records it). Returns false when a file cannot be written.
     */
    static bool ensure(const std::string &root, int pictures, Scene scene, Counts *counts,
                       bool *made);
    /** The bytes of one picture; no two variants are alike. */
    static std::string picture(int variant, Scene scene = Scene::Generated);
};

#endif // CARDMAKER_H
