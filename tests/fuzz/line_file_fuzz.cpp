// The line-file record and the splitter on any file: reading returns the file in pieces of at
// most 511 characters that join to the text the file holds (a carriage return before a line
// feed dropped, as text mode does), writing the pieces back gives that text again, and the
// splitter's key and value are trimmed tokens inside its buffer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "rv7list.h"

namespace {

constexpr char kInput[] = "input.txt";
constexpr char kOutput[] = "output.txt";

// The text a reader in text mode gets from `bytes`: each carriage return + line feed read as
// a line feed.
std::string TextModeView(std::string_view bytes) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) {
      text += bytes[i];
    }
  }
  return text;
}

bool Inside(const char* pointer, const char* buffer) {
  return pointer >= buffer && pointer < buffer + kLineSize;
}

void CheckSplit(std::string_view line) {
  Splitter splitter("=\n", "\n");
  splitter.load(line);
  const char* result = splitter.split();
  const char* buffer = splitter.buffer();
  const char* key = splitter.key();
  const char* value = splitter.value();
  FuzzCheck(result == (value != nullptr ? value : buffer), "split result");
  FuzzCheck(key != nullptr || value == nullptr, "a value needs a key");
  if (key != nullptr) {
    const std::size_t length = std::strlen(key);
    FuzzCheck(Inside(key, buffer) && Inside(key + length, buffer), "key inside the buffer");
    FuzzCheck(std::strpbrk(key, "=\n") == nullptr, "key holds no delimiter");
    FuzzCheck(length == 0 || (key[0] != ' ' && key[length - 1] != ' '), "key trimmed");
  }
  if (value != nullptr) {
    const std::size_t length = std::strlen(value);
    FuzzCheck(Inside(value, buffer) && Inside(value + length, buffer), "value inside the buffer");
    FuzzCheck(std::strchr(value, '\n') == nullptr, "value holds no line feed");
    FuzzCheck(length == 0 || (value[0] != ' ' && value[length - 1] != ' '), "value trimmed");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnterFuzzDirectory();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  WriteFuzzFile(kInput, bytes);

  LineFile in;
  FuzzCheck(in.open(kInput, "r") != nullptr, "open for reading");
  LineFile out;
  FuzzCheck(out.open(kOutput, "w") != nullptr, "open for writing");
  std::string joined;
  while (const char* piece = in.read_line()) {
    const std::size_t length = std::strlen(piece);
    FuzzCheck(length <= kMaxLine, "piece fits the line buffer");
    joined.append(piece, length);
    out.set_line(piece);
    out.write_line();
    CheckSplit(piece);
  }
  FuzzCheck(in.read_line() == nullptr, "the end stays the end");
  FuzzCheck(in.close() == 0 && out.close() == 0, "close");
  // A zero byte ends the text of its piece, so only texts without one come back whole.
  if (bytes.find('\0') == std::string_view::npos) {
    FuzzCheck(joined == TextModeView(bytes), "pieces join to the text");
  }
  FuzzCheck(ReadFuzzFile(kOutput) == joined, "written pieces give the text back");
  return 0;
}
