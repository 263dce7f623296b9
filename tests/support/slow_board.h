// A board within the Solver button's limits (15 x 11 cells, 13 crates) whose search takes
// seconds of CPU time (about 4 s on our shared build machine) before it ends in code 4, the
// position store full: the long search of the tests that stop one.
#pragma once

inline constexpr char kSlowBoard[] = R"(###############
######   # $# #
#####     $#$$#
#####   *$ # .#
# #   .  ..# $#
### #.  # ## ##
# .   #.. #   #
# * ## $## $#.#
#    ..   $@ $#
##  ##   #$  ##
###############
)";
