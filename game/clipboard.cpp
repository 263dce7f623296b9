#include "clipboard.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "beep.h"
#include "clip_text.h"
#include "engine.h"
#include "files.h"
#include "rv7ini.h"
#include "rv7log.h"
#include "rv7score.h"
#include "services.h"
#include "step_text.h"

namespace {

constexpr char kLogModule[] = "rv7";

// How long the desktop may take to name its HTML program.
constexpr int kMimeQueryTimeoutMs = 3000;
constexpr char kDesktopEntryGroup[] = "[Desktop Entry]";
constexpr char kExecKey[] = "Exec=";

std::function<bool(const QUrl&)> g_url_opener;

void HighBeep() {
  Beep(kHighBeepFrequency, kHighBeepMs);
}

// Copies the clipboard's plain text into the step text buffer, cut to its room and at a
// zero byte. Returns the number of bytes copied, or nothing when there is no text.
std::optional<std::size_t> ClipboardIntoStepText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasText()) {
    return std::nullopt;
  }
  const QByteArray bytes = data->text().toUtf8();
  const std::size_t length = std::min(static_cast<std::size_t>(bytes.size()), kStepTextSize);
  char* buffer = StepText();
  std::memcpy(buffer, bytes.constData(), length);
  buffer[length] = '\0';
  return length;
}

void ApplyPaste(const PastedText& text, PasteAction action) {
  switch (action) {
    case PasteAction::kNothing:
      return;
    case PasteAction::kReject:
      LowBeep();
      LowBeep();
      return;
    case PasteAction::kRecordAndReplay:
      HighBeep();
      RecordUnplayedSolution(text.steps, text.moves, text.pushes, text.name);
      replay_text(text.steps, ReplayMode::kStored);
      return;
    case PasteAction::kReplayCrediting:
      HighBeep();
      replay_text(text.steps, ReplayMode::kQuick);
      return;
    case PasteAction::kReplay:
      HighBeep();
      replay_text(text.steps, ReplayMode::kStored);
      return;
  }
}

bool OpenUrl(const QUrl& url) {
  return g_url_opener ? g_url_opener(url) : QDesktopServices::openUrl(url);
}

// The desktop entry of the program the desktop opens HTML files with; empty when none.
QString HtmlDesktopEntry() {
  QProcess query;
  query.start(QStringLiteral("xdg-mime"),
              {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
  if (!query.waitForFinished(kMimeQueryTimeoutMs) || query.exitStatus() != QProcess::NormalExit ||
      query.exitCode() != 0) {
    query.kill();
    return {};
  }
  const QString id = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
  return id.isEmpty() ? QString()
                      : QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
}

// Starts the desktop's HTML program on `path`. True when it started.
bool OpenWithHtmlProgram(const QString& path) {
  const QString entry = HtmlDesktopEntry();
  if (entry.isEmpty()) {
    return false;
  }
  QFile file(entry);
  if (!file.open(QIODevice::ReadOnly)) {
    return false;
  }
  const QStringList command =
      DesktopCommand(DesktopEntryExec(QString::fromUtf8(file.readAll())), path);
  RV7_LOG(kLogInfo, "command=%s", command.join(QLatin1Char(' ')).toLocal8Bit().constData());
  return !command.isEmpty() && QProcess::startDetached(command.front(), command.mid(1));
}

bool IsFieldCode(const QString& argument) {
  static const QRegularExpression kFieldCode(QStringLiteral("^%[a-zA-Z]$"));
  return kFieldCode.match(argument).hasMatch();
}

bool HoldsFileCode(const QString& argument) {
  static const QRegularExpression kFileCode(QStringLiteral("%[fFuU]"));
  return kFileCode.match(argument).hasMatch();
}

}  // namespace

void CopyBest() {
  RV7_ENTRY();
  const std::optional<std::string_view> letters = BestLetters();
  if (!letters || letters->empty()) {
    RV7_EXIT();
    return;
  }
  const std::string text = ClipboardText(
      {current_set(), current_level(), BestMoves(), BestPushes(), BestName(), *letters});
  QGuiApplication::clipboard()->setText(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  HighBeep();
  RV7_EXIT();
}

void PasteSolution() {
  RV7_ENTRY();
  if (move_count() != 0) {
    LowBeep();
    RV7_EXIT_RC(1);
    return;
  }
  const std::optional<std::size_t> length = ClipboardIntoStepText();
  if (!length) {
    RV7_EXIT();
    return;
  }
  const PastedText text = ScanPaste(StepText(), *length);
  RV7_LOG(kLogInfo, "level=%s.%d, solution=%d.%d.%s, steps=%zu, malformed=%d", text.set.c_str(),
          text.level, text.moves, text.pushes, text.name.c_str(), text.steps.size(),
          text.malformed ? 1 : 0);
  const PasteAction action = DecidePaste(text, current_set(), current_level());
  ApplyPaste(text, action);
  RV7_EXIT_RC(static_cast<int>(action));
}

void OpenHelp() {
  RV7_ENTRY();
  if (!FileExists(kHelpFile)) {
    LowBeep();
    RV7_EXIT_RC(1);
    return;
  }
  OpenDocument(kHelpFile);
  RV7_EXIT();
}

int OpenDocument(std::string_view file) {
  RV7_ENTRY();
  const QString path = QFileInfo(QString::fromStdString(NativePath(file))).absoluteFilePath();
  const int rc = OpenUrl(QUrl::fromLocalFile(path)) || OpenWithHtmlProgram(path) ? 1 : 0;
  RV7_EXIT_RC(rc);
  return rc;
}

void SetUrlOpener(std::function<bool(const QUrl&)> opener) {
  g_url_opener = std::move(opener);
}

QString DesktopEntryExec(const QString& entry_text) {
  bool in_entry_group = false;
  for (const QString& raw : entry_text.split(QLatin1Char('\n'))) {
    const QString line = raw.trimmed();
    if (line.startsWith(QLatin1Char('['))) {
      in_entry_group = line == QLatin1String(kDesktopEntryGroup);
    } else if (in_entry_group && line.startsWith(QLatin1String(kExecKey))) {
      return line.mid(static_cast<qsizetype>(std::strlen(kExecKey))).trimmed();
    }
  }
  return {};
}

QStringList DesktopCommand(const QString& exec, const QString& file) {
  QStringList command;
  for (const QString& argument : QProcess::splitCommand(exec)) {
    if (HoldsFileCode(argument)) {
      break;
    }
    if (!IsFieldCode(argument)) {
      command.append(argument);
    }
  }
  if (!command.isEmpty()) {
    command.append(file);
  }
  return command;
}

void InstallClipboardServices(GameServices& services) {
  services.copy_best = &CopyBest;
  services.paste_solution = &PasteSolution;
  services.help = &OpenHelp;
}
