#include "radiometriccorrection.h"

#include <QVector>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr int Order = 8; // Gauss–Legendre points per panel
constexpr int Panels = 32; // the band cut into equal panels

struct GaussLegendre
{
    std::array<double, Order> nodes;
    std::array<double, Order> weights;
};

// The nodes are the roots of the Legendre polynomial P_n, found by Newton's method from the
// usual cosine guesses; the weights follow from P_n' at them.
GaussLegendre makeRule()
{
    GaussLegendre rule {};
    const int n = Order;
    for (int i = 0; i < n; ++i) {
        double x = std::cos(M_PI * (i + 0.75) / (n + 0.5));
        double derivative = 0.0;
        for (int step = 0; step < 100; ++step) {
            double p0 = 1.0;
            double p1 = x;
            for (int k = 2; k <= n; ++k) {
                const double p2 = ((2.0 * k - 1.0) * x * p1 - (k - 1.0) * p0) / k;
                p0 = p1;
                p1 = p2;
            }
            derivative = n * (x * p1 - p0) / (x * x - 1.0);
            const double dx = p1 / derivative;
            x -= dx;
            if (std::abs(dx) < 1e-16)
                break;
        }
        rule.nodes[i] = x;
        rule.weights[i] = 2.0 / ((1.0 - x * x) * derivative * derivative);
    }
    return rule;
}

const GaussLegendre &rule()
{
    static const GaussLegendre r = makeRule();
    return r;
}

// ∫ over the band of f(λ), f given at each λ with its exp(c2/(λT)).
template <typename F> double integrateBand(double kelvin, F f)
{
    const GaussLegendre &gl = rule();
    const double width
        = (RadiometricCorrection::BandHigh - RadiometricCorrection::BandLow) / Panels;
    double sum = 0.0;
    for (int p = 0; p < Panels; ++p) {
        const double mid = RadiometricCorrection::BandLow + (p + 0.5) * width;
        double panel = 0.0;
        for (int i = 0; i < Order; ++i) {
            const double lambda = mid + 0.5 * width * gl.nodes[i];
            const double e = std::exp(RadiometricCorrection::C2 / (lambda * kelvin));
            panel += gl.weights[i] * f(lambda, e);
        }
        sum += panel * 0.5 * width;
    }
    return sum;
}

// dW/dT, for Newton steps and for the table's Hermite slopes.
double bandRadianceSlope(double kelvin)
{
    return integrateBand(kelvin, [kelvin](double lambda, double e) {
        const double l5 = std::pow(lambda, 5);
        const double em1 = e - 1.0;
        return RadiometricCorrection::C1 / l5 * e * RadiometricCorrection::C2
            / (lambda * kelvin * kelvin) / (em1 * em1);
    });
}

constexpr double LowKelvin
    = RadiometricCorrection::MinCelsius + RadiometricCorrection::KelvinOffset;
constexpr double HighKelvin
    = RadiometricCorrection::MaxCelsius + RadiometricCorrection::KelvinOffset;

// W and dW/dT every Step kelvin over the model's span.
struct RadianceTable
{
    static constexpr double Step = 0.5;
    static constexpr int Points = int((HighKelvin - LowKelvin) / Step) + 1;
    QVector<double> radiance;
    QVector<double> slope;

    RadianceTable()
        : radiance(Points)
        , slope(Points)
    {
        for (int i = 0; i < Points; ++i) {
            const double kelvin = LowKelvin + i * Step;
            radiance[i] = RadiometricCorrection::bandRadiance(kelvin);
            slope[i] = bandRadianceSlope(kelvin);
        }
        makeInverse();
    }

    // The cubic Hermite piece of interval i at t in [0, 1].
    double at(int i, double t) const
    {
        const double t2 = t * t;
        const double t3 = t2 * t;
        return (2 * t3 - 3 * t2 + 1) * radiance[i] + (t3 - 2 * t2 + t) * Step * slope[i]
            + (-2 * t3 + 3 * t2) * radiance[i + 1] + (t3 - t2) * Step * slope[i + 1];
    }
    double slopeAt(int i, double t) const
    {
        const double t2 = t * t;
        return ((6 * t2 - 6 * t) * radiance[i] + (6 * t2 - 6 * t) * -radiance[i + 1]) / Step
            + (3 * t2 - 4 * t + 1) * slope[i] + (3 * t2 - 2 * t) * slope[i + 1];
    }

    double radianceAt(double kelvin) const
    {
        if (!(kelvin >= LowKelvin && kelvin <= HighKelvin))
            return RadiometricCorrection::bandRadiance(kelvin);
        const double position = (kelvin - LowKelvin) / Step;
        const int i = std::min(int(position), Points - 2);
        return at(i, position - i);
    }

    // The inverse from a second table: T and dT/du on a grid even in u = ln W, where T is
    // smooth enough for the same Hermite pieces; one logarithm and one piece per cell.
    static constexpr int InversePoints = 4096;
    QVector<double> kelvin;
    QVector<double> kelvinSlope;
    double firstU = 0.0;
    double stepU = 0.0;

    void makeInverse()
    {
        kelvin.resize(InversePoints);
        kelvinSlope.resize(InversePoints);
        firstU = std::log(radiance.first());
        stepU = (std::log(radiance.last()) - firstU) / (InversePoints - 1);
        for (int j = 0; j < InversePoints; ++j) {
            const double w = std::exp(firstU + j * stepU);
            // The forward table's interval, then Newton steps within it.
            const int i = std::clamp(
                int(std::upper_bound(radiance.cbegin(), radiance.cend(), w) - radiance.cbegin())
                    - 1,
                0, Points - 2);
            double t = (w - radiance[i]) / (radiance[i + 1] - radiance[i]);
            for (int step = 0; step < 8; ++step)
                t = std::clamp(t - (at(i, t) - w) / (slopeAt(i, t) * Step), 0.0, 1.0);
            kelvin[j] = LowKelvin + (i + t) * Step;
            kelvinSlope[j] = w / slopeAt(i, t); // dT/du = W / (dW/dT)
        }
    }

    double kelvinFor(double w) const
    {
        if (!(w >= radiance.first() && w <= radiance.last()))
            return NaN;
        const double position = (std::log(w) - firstU) / stepU;
        const int j = std::clamp(int(position), 0, InversePoints - 2);
        const double t = std::clamp(position - j, 0.0, 1.0);
        const double t2 = t * t;
        const double t3 = t2 * t;
        return (2 * t3 - 3 * t2 + 1) * kelvin[j] + (t3 - 2 * t2 + t) * stepU * kelvinSlope[j]
            + (-2 * t3 + 3 * t2) * kelvin[j + 1] + (t3 - t2) * stepU * kelvinSlope[j + 1];
    }
};

const RadianceTable &table()
{
    static const RadianceTable t;
    return t;
}

double celsiusInModel(double kelvin)
{
    const double celsius = kelvin - RadiometricCorrection::KelvinOffset;
    return celsius >= RadiometricCorrection::MinCelsius
            && celsius <= RadiometricCorrection::MaxCelsius
        ? celsius
        : NaN;
}

} // namespace

double RadiometricCorrection::bandRadiance(double kelvin)
{
    if (!(kelvin > 0.0))
        return 0.0;
    return integrateBand(
        kelvin, [](double lambda, double e) { return C1 / std::pow(lambda, 5) / (e - 1.0); });
}

double RadiometricCorrection::kelvinForRadiance(double radiance)
{
    double low = MinCelsius + KelvinOffset;
    double high = MaxCelsius + KelvinOffset;
    if (!(radiance >= bandRadiance(low) && radiance <= bandRadiance(high)))
        return NaN;
    // Bisection narrows the bracket until Newton's steps are sure to stay within it.
    double kelvin = 0.5 * (low + high);
    for (int step = 0; step < 200; ++step) {
        const double w = bandRadiance(kelvin);
        if (w < radiance)
            low = kelvin;
        else
            high = kelvin;
        double next = kelvin - (w - radiance) / bandRadianceSlope(kelvin);
        if (!(next > low && next < high))
            next = 0.5 * (low + high);
        if (std::abs(next - kelvin) < 1e-9)
            return next;
        kelvin = next;
    }
    return kelvin;
}

double RadiometricCorrection::correctedCelsius(double storedCelsius, const Correction &stored,
                                               const Correction &wanted)
{
    const double measured = stored.emissivity * bandRadiance(storedCelsius + KelvinOffset)
        + (1.0 - stored.emissivity) * bandRadiance(stored.reflectedCelsius + KelvinOffset);
    const double object
        = (measured
           - (1.0 - wanted.emissivity) * bandRadiance(wanted.reflectedCelsius + KelvinOffset))
        / wanted.emissivity;
    if (!(object > 0.0))
        return NaN;
    return celsiusInModel(kelvinForRadiance(object));
}

RadiometricCorrection::RadiometricCorrection(const Correction &stored, const Correction &wanted)
    : m_storedEmissivity(stored.emissivity)
    , m_storedReflectedRadiance(table().radianceAt(stored.reflectedCelsius + KelvinOffset))
    , m_wantedEmissivity(wanted.emissivity)
    , m_wantedReflectedRadiance(table().radianceAt(wanted.reflectedCelsius + KelvinOffset))
{ }

double RadiometricCorrection::operator()(double storedCelsius) const
{
    const double measured = m_storedEmissivity * table().radianceAt(storedCelsius + KelvinOffset)
        + (1.0 - m_storedEmissivity) * m_storedReflectedRadiance;
    const double object
        = (measured - (1.0 - m_wantedEmissivity) * m_wantedReflectedRadiance) / m_wantedEmissivity;
    if (!(object > 0.0))
        return NaN;
    return celsiusInModel(table().kelvinFor(object));
}
