#ifndef THERMALSCENE_H
#define THERMALSCENE_H

#include "tethra_global.h"

#include <QImage>
#include <QVector>

/**
 * A synthetic thermal scene for the demo instrument: a temperature field (a room at about
 * 22 degrees, a few warm objects and one hot spot that wanders about) drawn with an iron
 * palette, auto-ranged like a real camera, with a cross at the centre and a palette bar.
 */
class TETHRA_EXPORT ThermalScene
{
public:
    static constexpr int Width = 320;
    static constexpr int Height = 240;

    /** The readings of one rendered frame, in degrees Celsius. */
    struct Readings
    {
        double minimum = 0.0;
        double maximum = 0.0;
        double centre = 0.0;
    };

    /** seed picks the warm objects; time (seconds) moves the hot spot and its heat. */
    explicit ThermalScene(int seed = 0);

    /** Renders the scene at a moment into a 320 x 240 RGB888 picture. */
    QImage render(double time, Readings *readings = nullptr) const;
    /** Renders a field that temperatures() gave. */
    static QImage render(const QVector<float> &field, Readings *readings = nullptr);
    /** The hot spot's peak temperature at a moment. */
    double hotSpotPeak(double time) const;
    /**
     * The temperatures that render() shows at a moment, Width x Height values row by row
     * from the top, in degrees Celsius.
     */
    QVector<float> temperatures(double time) const;

private:
    int m_seed;
};

#endif // THERMALSCENE_H
