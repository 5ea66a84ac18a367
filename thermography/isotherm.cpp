#include "isotherm.h"

bool Isotherm::covers(double celsius) const
{
    switch (mode) {
    case Off:
        return false;
    case Above:
        return celsius >= low;
    case Within:
        return celsius >= low && celsius <= high;
    }
    return false;
}

bool Isotherm::operator==(const Isotherm &other) const
{
    // Only the bounds a mode uses are kept.
    return mode == other.mode && (mode == Off || low == other.low)
        && (mode != Within || high == other.high);
}
