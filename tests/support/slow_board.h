// A board within the Solver button's limits (16 x 8 cells, 13 crates) whose search runs for
// many seconds before it ends in code 3: the long search of the tests that stop one.
#pragma once

inline constexpr char kSlowBoard[] = R"(################
###      * #####
### *     ######
###*  #     ####
###  **  .*    #
#####@$    #*  #
#####*##########
################
)";
