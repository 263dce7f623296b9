#include "html_page.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "files.h"

std::string HtmlEscape(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char ch : text) {
    switch (ch) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += ch;
        break;
    }
  }
  return escaped;
}

// Room for the widest values the fields can hold, so nothing is ever cut.
constexpr std::size_t kStampRoom = 48;

PageStamp StampOf(const LocalTime& time) {
  char date[kStampRoom];
  char clock[kStampRoom];
  std::snprintf(date, sizeof date, "%02d/%02d/%04d", time.day, time.month, time.year);
  std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", time.hour, time.minute, time.second);
  return {date, clock};
}

PageStamp CurrentStamp() {
  return StampOf(GetLocalTime());
}

void WriteTexts(LineFile& file, std::initializer_list<const char*> texts) {
  for (const char* text : texts) {
    file.write_text(text);
  }
}

void WritePageHead(LineFile& file, std::string_view title) {
  WriteTexts(file, {"<html>\n", "<head>\n"});
  file.write_format("<title>%s</title>\n", std::string(title).c_str());
  file.write_text("</head>\n");
}

void WriteFramesetTop(LineFile& file, std::string_view title) {
  WritePageHead(file, title);
  WriteTexts(file, {
                       "<noframes>\n",
                       "<body>\n",
                       "<h2>\n",
                       "<p>This page uses frames, but your browser doesn't support them!</p>\n",
                       "</h2>\n",
                       "</body>\n",
                       "</noframes>\n",
                   });
}

namespace {

std::string FailureText(std::string_view what, std::string_view path, int error) {
  return std::string(what) + " " + NativePath(path) + ": " + std::strerror(error);
}

// The error code of the call that just failed; EIO when it left none.
int LastError() {
  return errno != 0 ? errno : EIO;
}

}  // namespace

PageWriteError::PageWriteError(std::string_view what, std::string_view path, int error)
    : std::runtime_error(FailureText(what, path, error)) {}

void MakePageFolder() {
  if (FileExists(kPageFolder)) {
    return;
  }
  const int error = MakeDirectory(kPageFolder);
  if (error != 0 && error != EEXIST) {
    throw PageWriteError("cannot create the folder", kPageFolder, error);
  }
}

void OpenPage(LineFile& page, std::string_view path) {
  errno = 0;
  if (page.open(path, "w") == nullptr) {
    throw PageWriteError("cannot write", path, LastError());
  }
}

void ClosePage(LineFile& page) {
  const std::string path = page.path();
  if (const int error = page.close(); error != 0) {
    throw PageWriteError("cannot write", path, error);
  }
}
