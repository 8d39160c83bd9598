#include "shell/config/position.h"

#include <cmath>

namespace qv::config {

Latitude latitudeField(double stored) {
    return {std::fabs(stored), stored < 0 ? NorthSouth::South : NorthSouth::North};
}

Longitude longitudeField(double stored) {
    return {std::fabs(stored), stored < 0 ? EastWest::East : EastWest::West};
}

double storedLatitude(const Latitude& field) {
    const double magnitude = std::fabs(field.degrees);
    return field.hemisphere == NorthSouth::North ? magnitude : -magnitude;
}

double storedLongitude(const Longitude& field) {
    const double magnitude = std::fabs(field.degrees);
    return field.hemisphere == EastWest::West ? magnitude : -magnitude;
}

}  // namespace qv::config
