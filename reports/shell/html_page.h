// Helpers shared by the report programs' HTML pages.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "kernel.h"
#include "rv7list.h"

// A text taken from a data file (set name, level path, who part of a record) made safe as
// HTML text and attribute value: "&", "<", ">" and '"' become entities; every other byte is
// kept, so ordinary names come out unchanged.
std::string HtmlEscape(std::string_view text);

// Date text DD/MM/YYYY and time text HH:MM:SS of a local time, two digits with a leading
// zero for day, month, hour, minute and second.
struct PageStamp {
  std::string date;
  std::string time;
};
PageStamp StampOf(const LocalTime& time);
// The stamp of the current local time.
PageStamp CurrentStamp();

// Writes the texts one after the other (nothing when the file is not open).
void WriteTexts(LineFile& file, std::initializer_list<const char*> texts);

// Writes the head of a page: "<html>", "<head>", the title line holding `title` and
// "</head>", each on a line of its own (nothing when the file is not open).
void WritePageHead(LineFile& file, std::string_view title);

// Writes the opening of a frameset page: the page head with `title`, then the "<noframes>"
// block a browser without frames shows instead (nothing when the file is not open).
void WriteFramesetTop(LineFile& file, std::string_view title);
