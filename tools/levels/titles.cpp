#include "titles.h"

#include <iterator>

namespace levels {
namespace {

constexpr const char* kAdjectives[] = {
    "Quiet",     "Narrow",  "Crooked",  "Hidden",  "Windy",  "Dusty",    "Silent", "Low",
    "Broken",    "Twisted", "Sunken",   "Hollow",  "Lonely", "Busy",     "Frozen", "Golden",
    "Rusty",     "Dim",     "Bright",   "Tangled", "Empty",  "Crowded",  "Sleepy", "Steep",
    "Misty",     "Salty",   "Stubborn", "Patient", "Clever", "Restless", "Humble", "Secret",
    "Wandering", "Copper",  "Amber",    "Velvet",  "Iron",   "Stone",    "Timber", "Slate",
    "Northern",  "Eastern", "Late",     "Early",   "Tidy",   "Odd",      "Second", "Outer"};

constexpr const char* kNouns[] = {
    "Landing",  "Pier",    "Loft",    "Cellar",   "Yard",   "Alley",   "Dock",     "Shed",
    "Gate",     "Corner",  "Passage", "Hall",     "Stair",  "Wharf",   "Vault",    "Depot",
    "Store",    "Barn",    "Court",   "Lane",     "Quay",   "Hatch",   "Crossing", "Bend",
    "Gallery",  "Chamber", "Annex",   "Garret",   "Pantry", "Granary", "Mill",     "Forge",
    "Market",   "Harbour", "Arcade",  "Cloister", "Tunnel", "Bridge",  "Tower",    "Keep",
    "Corridor", "Hangar",  "Larder",  "Porch",    "Nook",   "Ledge",   "Rampart",  "Square"};

}  // namespace

std::string level_title(Random& random) {
  const int adjective = random.below(static_cast<int>(std::size(kAdjectives)));
  const int noun = random.below(static_cast<int>(std::size(kNouns)));
  return std::string(kAdjectives[adjective]) + " " + kNouns[noun];
}

}  // namespace levels
