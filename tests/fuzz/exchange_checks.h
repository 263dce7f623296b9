// One hostile input through the paste scanner or the import chunker, with the checks that
// must hold for every input. The fuzz targets paste_scan_fuzz and import_chunker_fuzz run
// them, and so does the hostile-text test of the normal suites; a broken check aborts, so both
// report it as a crash.
#pragma once

#include <cstddef>
#include <cstdint>

// The bytes as clipboard text: cut to the step text buffer's room, scanned in a heap buffer
// of exactly that size plus its zero, then decided for two levels.
void CheckPasteText(const std::uint8_t* data, std::size_t size);

// The bytes as a text file to import. The first byte chooses the set ("simlev" when odd, so
// the FG rule runs too); the rest is the text, cut into levels in memory.
void CheckImportText(const std::uint8_t* data, std::size_t size);
