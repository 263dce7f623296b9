#include "html_page.h"

#include <cstdio>
#include <string>

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
