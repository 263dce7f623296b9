// Helpers shared by the report programs' HTML pages.
#pragma once

#include <initializer_list>
#include <stdexcept>
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

// A page, or the folder htm, that could not be written. It ends the worker's run: the
// program then exits with a failure status and says what() on its error output.
class PageWriteError : public std::runtime_error {
 public:
  // `what` is the failed action ("cannot write", "cannot create the folder"), `path` the
  // suite path of the file, `error` the system error code.
  PageWriteError(std::string_view what, std::string_view path, int error);
};

// The folder of the pages, below the data directory.
inline constexpr char kPageFolder[] = "htm";

// Creates the folder htm when it is missing. Throws PageWriteError when it cannot be made.
void MakePageFolder();

// Opens `path` to be written anew ("w"; the page replaces the old one when it is closed).
// Throws PageWriteError when it cannot be created.
void OpenPage(LineFile& page, std::string_view path);
// Closes a page opened by OpenPage. Throws PageWriteError when it could not be written in
// full (the old page, if any, then stays).
void ClosePage(LineFile& page);
