#pragma once
// The site position as the configuration shows it: a number without sign and
// a hemisphere. Stored latitude is negative in the south, stored longitude
// negative in the east (the sun-times calculation expects west positive).

namespace qv::config {

enum class NorthSouth { North, South };
enum class EastWest { East, West };

struct Latitude {
    double degrees = 0.0;  // shown without sign
    NorthSouth hemisphere = NorthSouth::North;
};

struct Longitude {
    double degrees = 0.0;  // shown without sign
    EastWest hemisphere = EastWest::West;
};

// "South" when the stored value is negative, "North" otherwise.
Latitude latitudeField(double stored);
// "East" when the stored value is negative, "West" otherwise.
Longitude longitudeField(double stored);

// Positive for North, negative otherwise. A sign typed into the box does not
// count: the hemisphere alone decides.
double storedLatitude(const Latitude& field);
// Positive for West, negative otherwise.
double storedLongitude(const Longitude& field);

}  // namespace qv::config
