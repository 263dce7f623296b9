// Hands a level's score file on to a duplicate level that has none, with the step letters
// turned into the duplicate's orientation.
#pragma once

#include <string_view>

#include "level_compare.h"

// The letter that replaces step letter `letter` of A's score file in the copy given to B,
// when A matches B under `kind`: B is A turned back by the inverse of the kind, so every
// step turns with it. Pushes stay upper case, plain steps lower case, and the key letters
// "H" "P" "K" "M" become plain lower-case steps. Any other byte, and every byte under
// "exactly", is returned unchanged.
char TranslateStep(char letter, MatchKind kind);

// The score-file transfer for an exact match of A (path `from_level`) with B (path
// `to_level`): when "<from_level>.rv7" exists and "<to_level>.rv7" does not, B receives a
// byte-for-byte copy ("exactly") or a copy whose letter lines are translated line by line
// (lines beginning with "#" or "[" pass unchanged). An existing target is never replaced,
// not even when it appears while the copy is made; a copy that fails leaves no target
// behind. Failures are silent (traced only).
void TransferScoreFile(std::string_view from_level, std::string_view to_level, MatchKind kind);
