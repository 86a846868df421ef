#include "util/CommandCapture.h"

#include "app/Paths.h"
#include "app/ProcessValues.h"
#include "util/GbkText.h"

namespace bm {

namespace {

// A command that waits for input or never ends is stopped after this long,
// so the caller cannot hang.
constexpr uint32_t kCommandLimitMs = 10000;
// The command line buffer holds 32767 UTF-16 units, the closing zero included.
constexpr size_t kMaxCommandLineUnits = 32766;

// cmd.exe from Windows XP (5.1) on; command.com only on a version known to be
// older. An unreadable version (0) is a modern system, not a pre-XP one.
WideText CommandInterpreter(Platform& os) {
  const bool beforeXp = OsVersionWord != 0 && OsVersionWord < 0x0501;
  return os.GetSystemFolderW() + (beforeXp ? u"\\command.com" : u"\\cmd.exe");
}

// Appends what is waiting in the pipe to `output`, handing each piece to the
// callback. False when the callback asked to stop.
bool ReadWaiting(Platform& os, ProcessHandle process, long waiting, Text& output, OutputCallback callback) {
  const Bytes bytes = os.ReadCapturedOutput(process, static_cast<uint32_t>(waiting));
  const Text piece(bytes.begin(), bytes.end());
  output += piece;
  return !(callback && callback(piece, 0, 0) != 0);
}

// Reads until nothing is waiting; false when the callback asked to stop. Once
// the command has ended the pipe holds at most its buffer, so a few reads
// empty it; the cap only matters when something it started keeps writing.
bool Drain(Platform& os, ProcessHandle process, Text& output, OutputCallback callback) {
  constexpr int kMaxReads = 256;
  for (int reads = 0; reads < kMaxReads; ++reads) {
    const long waiting = os.PeekCapturedOutput(process);
    if (waiting <= 0) return true;
    if (!ReadWaiting(os, process, waiting, output, callback)) return false;
  }
  return true;
}

void CaptureUntilEnd(Platform& os, ProcessHandle process, Text& output, OutputCallback callback) {
  const uint32_t start = os.GetTickCount();
  for (;;) {
    const long waiting = os.PeekCapturedOutput(process);
    if (waiting > 0) {
      if (!ReadWaiting(os, process, waiting, output, callback)) return;
    } else if (!os.IsCapturedProcessRunning(process)) {
      // Its last piece may have arrived between the look into the pipe and
      // its exit.
      Drain(os, process, output, callback);
      return;
    }
    if (os.GetTickCount() - start >= kCommandLimitMs) {
      // End it first, so that what it printed so far is all there is to read.
      os.TerminateCapturedProcess(process);
      Drain(os, process, output, callback);
      return;
    }
    os.Sleep(1);
  }
}

// What REG QUERY prints between the value's name and its data.
Text RegTypeName(std::optional<int> type) {
  static const char* const kNames[] = {"REG_SZ",   "REG_EXPAND_SZ",        "REG_BINARY", "REG_DWORD",
                                       "REG_DWORD_BIG_ENDIAN", "REG_LINK", "REG_MULTI_SZ"};
  const int number = type && *type >= 1 && *type <= 7 ? *type : 1;
  return kNames[number - 1];
}

// A quoted command-line argument. Backslashes that end it are doubled so that
// the closing quote stays a quote for the program that parses its arguments.
Text Quoted(const Text& text) {
  Text trailing;
  Text body = text;
  while (EndsWithBackslash(body)) {
    body.pop_back();
    trailing += "\\\\";
  }
  return "\"" + body + trailing + "\"";
}

Text ReplaceQuoteMarker(Text marker) {
  const Text token = "#引号";
  for (size_t at = marker.find(token); at != Text::npos; at = marker.find(token, at + 1)) {
    marker.replace(at, token.size(), "\"");
  }
  return marker;
}

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether `marker` lies at `pos`. Letter case is ignored only in single-byte
// characters: the trail byte of a double-byte character may look like a letter.
bool MatchesAt(const Text& text, size_t pos, const Text& marker, bool ignoreCase) {
  if (text.size() - pos < marker.size()) return false;
  for (size_t i = 0; i < marker.size();) {
    const size_t length = GbkCharLength(marker, i);
    for (size_t k = 0; k < length; ++k) {
      const char want = marker[i + k];
      const char have = text[pos + i + k];
      const bool fold = ignoreCase && length == 1;
      if (fold ? FoldAscii(want) != FoldAscii(have) : want != have) return false;
    }
    i += length;
  }
  return true;
}

// The first character position at or after `from` where `marker` begins;
// positions inside a double-byte character are never matches.
size_t FindMarker(const Text& text, const Text& marker, size_t from, bool ignoreCase) {
  for (size_t pos = 0; pos <= text.size(); pos += pos < text.size() ? GbkCharLength(text, pos) : 1) {
    if (pos >= from && MatchesAt(text, pos, marker, ignoreCase)) return pos;
  }
  return Text::npos;
}

}  // namespace

Text RunCommandCapture(Platform& os, const Text& command, OutputCallback callback) {
  const WideText commandLine = u" /c " + ToWideText(os, command);
  if (commandLine.size() > kMaxCommandLineUnits) return Text();
  const ProcessHandle process = os.StartCapturedProcessW(CommandInterpreter(os), commandLine);
  if (process == 0) return Text();
  Text output;
  CaptureUntilEnd(os, process, output, callback);
  os.CloseCapturedProcess(process);
  return output;
}

bool Is64BitWindows(Platform& os) { return os.CallGetSystemWow64DirectoryA() > 0; }

Text TextBetween(const Text& text, const Text& left, const Text& right, std::optional<size_t> start,
                 bool ignoreCase) {
  const Text leftMarker = ReplaceQuoteMarker(left);
  const Text rightMarker = ReplaceQuoteMarker(right);
  // Position 1 is the first byte of the text.
  const size_t first = start && *start > 1 ? *start - 1 : 0;
  const size_t leftAt = FindMarker(text, leftMarker, first, ignoreCase);
  if (leftAt == Text::npos) return Text();
  const size_t from = leftAt + leftMarker.size();
  const size_t rightAt = FindMarker(text, rightMarker, from, ignoreCase);
  if (rightAt == Text::npos) return Text();
  return text.substr(from, rightAt - from);
}

Text QueryValueByCommand(Platform& os, const Text& keyPath, std::optional<int> type, const Text& valueName) {
  // A quote would end the quoted argument early and let the rest of the name
  // run as further commands.
  if (keyPath.find('"') != Text::npos || valueName.find('"') != Text::npos) return Text();
  const Text command = "REG QUERY " + Quoted(keyPath) + " /v " + Quoted(valueName) + " /reg:" +
                       (Is64BitWindows(os) ? "64" : "32");
  const Text output = RunCommandCapture(os, command);
  const Text left = valueName + "    " + RegTypeName(type) + "    ";
  return TextBetween(output, left, "\r\n");
}

}  // namespace bm
