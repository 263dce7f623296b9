#include "write_failure_message.h"

#include <QMessageBox>

#include <cstring>

#include "layout.h"
#include "rv7game.h"

namespace {

constexpr std::string_view kScoreSuffix = ".rv7";

}  // namespace

QString WriteFailureText(std::string_view path, int error) {
  QString text = QStringLiteral("Could not write %1:\n%2.")
                     .arg(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())),
                          QString::fromLocal8Bit(std::strerror(error)));
  if (path.ends_with(kScoreSuffix)) {
    text += QStringLiteral(
        "\n\nThe solutions stay recorded while the game runs; the file is written again with "
        "the next solution or bookmark of this level and when the game ends.");
  }
  return text;
}

void ShowWriteFailure(std::string_view path, int error) {
  QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kWindowCaption),
                  WriteFailureText(path, error), QMessageBox::Ok, MainWindow());
  box.exec();
}
