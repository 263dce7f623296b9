// Painting of the client area: the board image and the status area above it.
#include <QPainter>
#include <QString>

#include <string>
#include <string_view>

#include "engine.h"
#include "rv7bmps.h"
#include "rv7game.h"
#include "rv7ini.h"
#include "rv7log.h"
#include "rv7maze.h"
#include "rv7score.h"

namespace {

constexpr char kLogModule[] = "rv7game";

// Pixel rectangle of a field in Windows terms: right and bottom are exclusive.
QRect FieldRect(const Field& f, int shrink) {
  const int left = Layout().inset + kLayoutUnit * f.x + shrink;
  const int top = kLayoutUnit * f.y + shrink;
  const int right = Layout().inset + kLayoutUnit * (f.x + f.w) - shrink;
  const int bottom = kLayoutUnit * (f.y + f.h) - shrink;
  return QRect(left, top, right - left, bottom - top);
}

// A grey line on the left and top edge and a white one on the right and bottom edge, pixel
// for pixel as the classic sunken look draws them.
void SunkenFrame(QPainter& p, const Field& f) {
  const int x0 = Layout().inset + kLayoutUnit * f.x;
  const int y0 = kLayoutUnit * f.y;
  const int x1 = x0 + kLayoutUnit * f.w;
  const int y1 = y0 + kLayoutUnit * f.h;
  p.setPen(kFrameShadowColour);
  p.drawLine(x0, y0, x0, y1);
  p.drawLine(x0, y0, x1 - 1, y0);
  p.setPen(kFrameLightColour);
  p.drawLine(x1, y0, x1, y1);
  p.drawLine(x0 + 1, y1, x1, y1);
}

void CentredText(QPainter& p, const QRect& rect, const QColor& colour, const QString& text) {
  p.setPen(colour);
  p.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
}

void Label(QPainter& p, const Field& f, const char* text) {
  const QRect outer = FieldRect(f, 0);
  CentredText(p, outer.adjusted(0, 1, 0, -1), kLabelColour, QString::fromLatin1(text));
}

void Value(QPainter& p, const Field& f, const QString& text, const QColor& colour) {
  SunkenFrame(p, f);
  CentredText(p, FieldRect(f, 1), colour, text);
}

QString Number(int value) {
  return QString::number(value);
}
// Record counts are left empty while there is no record.
QString CountOrEmpty(int value) {
  return value != 0 ? Number(value) : QString();
}
// Names come from the settings and score files as UTF-8 bytes.
QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The text shown instead of a level, traced under `routine`, the paint.
void DrawNotFound(QPainter& p, const char* routine) {
  const QString text = NoLevelText();
  RV7_LOG_AS(routine, kLogInfo, "%s", text.toUtf8().constData());
  const int bottom = TileSize() >= kNotFoundTileThreshold ? kNotFoundBottomBase + TileSize()
                                                          : kNotFoundSmallBottom;
  CentredText(
      p, QRect(kNotFoundLeft, kNotFoundTop, kNotFoundRight - kNotFoundLeft, bottom - kNotFoundTop),
      kValueColour, text);
}

void DrawCounters(QPainter& p) {
  Value(p, kMovesField, Number(move_count()), kValueColour);
  Value(p, kPushesField, Number(push_count()), kValueColour);
  if (stored_count() == crate_count()) {
    Value(p, kStoredField, QString::fromLatin1(kDoneText), kAlertColour);
  } else {
    Value(p, kStoredField, Number(stored_count()), kValueColour);
  }
  Value(p, kLevelField, Number(current_level()), kValueColour);
  Value(p, kLevelCountField, Number(current_level_count()), kValueColour);
  Value(p, kSetField, Text(current_set()), kValueColour);
}

void DrawLabels(QPainter& p) {
  Label(p, kMovesLabelField, kMovesLabel);
  Label(p, kPushesLabelField, kPushesLabel);
  Label(p, kStoredLabelField, kStoredLabel);
  Label(p, kLevelLabelField, kLevelLabel);
  Label(p, kSetLabelField, kSetLabel);
}

void DrawRecords(QPainter& p) {
  Value(p, kOwnMovesField, CountOrEmpty(OwnMoves()), kValueColour);
  Value(p, kOwnPushesField, CountOrEmpty(OwnPushes()), kValueColour);
  Label(p, kOwnByField, kByText);
  Value(p, kPlayerField, Text(player_name()), kValueColour);
  Value(p, kBestMovesField, CountOrEmpty(BestMoves()), kValueColour);
  Value(p, kBestPushesField, CountOrEmpty(BestPushes()), kValueColour);
  Label(p, kBestByField, kByText);
  Value(p, kBestNameField, Text(BestName()), kValueColour);
}

}  // namespace

QString NoLevelText() {
  const std::string path = MazePath();
  const char* format = MazeLoadState() == MazeLoad::kTooLarge ? kTooLargeFormat : kNotFoundFormat;
  return QString::asprintf(format, path.c_str());
}

void InvalidateField(const Field& field) {
  InvalidateClient(FieldRect(field, 1));
}

void DoPaint(QWidget* window) {
  RV7_ENTRY();
  {
    QPainter p(window);
    p.setFont(window->font());
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(kBackgroundColour);
    p.fillRect(window->rect(), kBackgroundColour);
    const BoardLayout& layout = Layout();
    // A zero width or height would make drawPixmap copy the whole image.
    if (layout.board_width > 0 && layout.board_height > 0 && !BoardImage().isNull()) {
      p.drawPixmap(layout.board_left, kBoardTop, BoardImage(), 0, 0, layout.board_width,
                   layout.board_height);
    }
    if (MazeHeight() == 0) {
      DrawNotFound(p, __func__);
    }
    DrawCounters(p);
    DrawLabels(p);
    DrawRecords(p);
  }
  UpdateButtons();
  if (!window->hasFocus()) {
    window->setFocus();
  }
  RV7_EXIT();
}
