#ifndef RADIOMETRICCORRECTION_H
#define RADIOMETRICCORRECTION_H

#include "thermography_global.h"

/** The conditions a temperature is computed under: the surface's emissivity and the
 *  temperature of what it reflects. */
struct THERMOGRAPHY_EXPORT Correction
{
    double emissivity = 1.0; ///< 0.01 to 1
    double reflectedCelsius = 20.0;

    bool operator==(const Correction &other) const
    {
        return emissivity == other.emissivity && reflectedCelsius == other.reflectedCelsius;
    }
    bool operator!=(const Correction &other) const { return !(*this == other); }
};

/**
 * Recomputes a stored temperature for another emissivity and reflected temperature, with the
 * model written down in docs/devices.md: the radiance W(T) that a black body sends in the
 * instrument's band of 7.5 to 14 µm, the measured radiance a stored cell stands for, and the
 * object temperature whose radiance explains it under the new conditions.
 *
 * bandRadiance() integrates Planck's law numerically each time; an instance holds a table of
 * W and its slope on a fine grid over −100 … +1000 °C and answers from it (cubic Hermite
 * between the grid points, far below 0.001 °C from the integral), fast enough for every cell
 * of a picture at each repaint.
 */
class THERMOGRAPHY_EXPORT RadiometricCorrection
{
public:
    static constexpr double C1 = 1.191042972e-16; ///< W·m²/sr
    static constexpr double C2 = 1.438776877e-2; ///< m·K
    static constexpr double BandLow = 7.5e-6; ///< m
    static constexpr double BandHigh = 14e-6; ///< m
    static constexpr double KelvinOffset = 273.15;
    /** A corrected temperature outside this span has no value. */
    static constexpr double MinCelsius = -100.0;
    static constexpr double MaxCelsius = 1000.0;

    /** W(T) in W/(m²·sr), T in kelvin, by composite Gauss–Legendre integration. */
    static double bandRadiance(double kelvin);
    /** The kelvin whose band radiance is radiance, by bisection and Newton steps on the
     *  integral itself; NaN outside MinCelsius … MaxCelsius. */
    static double kelvinForRadiance(double radiance);
    /** The model, straight from the integral: NaN where the cell has no value. */
    static double correctedCelsius(double storedCelsius, const Correction &stored,
                                   const Correction &wanted);

    RadiometricCorrection(const Correction &stored, const Correction &wanted);
    /** The same as correctedCelsius(storedCelsius, stored, wanted), from the table. */
    double operator()(double storedCelsius) const;

private:
    double m_storedEmissivity;
    double m_storedReflectedRadiance;
    double m_wantedEmissivity;
    double m_wantedReflectedRadiance;
};

#endif // RADIOMETRICCORRECTION_H
