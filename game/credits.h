// The credit lines of the dialogs, all in this one table. A dialog template marks each of its
// credit labels with the dynamic property "credit": the number of its line here, from 1.
// Every line must fit a label 315 pixels wide in the dialog font (a test checks it).
#pragma once

#include <array>

inline constexpr std::array<const char*, 7> kCreditLines{
    "Game, solver and tools: the Korvala project",
    "Tile sets A, B and C: drawn by our tile generator",
    "Levels: the Korvala collection, all made by us",
    "Solver: a bidirectional breadth-first search",
    "over crate positions that meets in the middle,",
    "with a deadlock test for closed-off areas",
    "Built with the Qt 6 toolkit",
};
