// Names for new levels, two words drawn from our own lists ("Quiet Landing").
#pragma once

#include <string>

#include "random.h"

namespace levels {

// A title of an adjective and a noun.
std::string level_title(Random& random);

}  // namespace levels
