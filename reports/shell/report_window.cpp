#include "report_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <array>

namespace {

constexpr char kLogModule[] = "rv7";

// Client area and line boxes; boxes are given in layout units of 2 pixels.
constexpr int kClientWidth = 300;
constexpr int kClientHeight = 90;
constexpr int kLayoutUnit = 2;
constexpr int kBoxX = 5;
constexpr int kBoxWidth = 140;
constexpr int kBoxHeight = 10;
constexpr std::array<int, 3> kBoxY = {3, 15, 30};  // title, version, status
constexpr int kStatusBox = 2;

// Where the window first appears, before it is sized, and its first size.
constexpr int kCreateWidthSpan = 775;
constexpr int kCreateHeightSpan = 558;
constexpr int kCreateDivisor = 3;
constexpr int kCreateWidth = 610;
constexpr int kCreateHeight = 410;

// Frame metrics that the sizing arithmetic of the trace assumes.
constexpr int kBorderWidth = 1;
constexpr int kBorderHeight = 1;
constexpr int kMenuBarHeight = 19;
constexpr int kCaptionHeight = 19;

// How often the window checks that it can be seen and repaints for a waiting worker.
constexpr int kVisibilityCheckMs = 250;

const QColor kFaceColour(192, 192, 192);
const QColor kShadowColour(128, 128, 128);
const QColor kLightColour(255, 255, 255);
const QColor kTextColour(0, 0, 0);
constexpr char kFontFamily[] = "DejaVu Sans";
constexpr int kFontPixelSize = 11;

struct BoxRects {
  QRect box;   // from (2x, 2y) to (2(x + w), 2(y + h)), both corners included
  QRect text;  // from (2x + 1, 2y + 1) to (2(x + w) - 1, 2(y + h) - 1)
};

BoxRects LineBox(int index) {
  const QPoint top_left(kLayoutUnit * kBoxX, kLayoutUnit * kBoxY[index]);
  const QPoint bottom_right(kLayoutUnit * (kBoxX + kBoxWidth),
                            kLayoutUnit * (kBoxY[index] + kBoxHeight));
  return {QRect(top_left, bottom_right),
          QRect(top_left + QPoint(1, 1), bottom_right - QPoint(1, 1))};
}

// Left and top edges in shadow, right and bottom in light: the box looks sunken.
void DrawSunkenBox(QPainter& painter, const QRect& box) {
  painter.setPen(kShadowColour);
  painter.drawLine(box.topLeft(), box.bottomLeft());
  painter.drawLine(box.topLeft(), box.topRight());
  painter.setPen(kLightColour);
  painter.drawLine(box.topRight(), box.bottomRight());
  painter.drawLine(box.bottomLeft(), box.bottomRight());
}

// The text centred in its rectangle, in black; the rectangle was filled with the face colour,
// which is the text's background.
void DrawBoxText(QPainter& painter, const QRect& text_rect, const QStaticText& text) {
  const QSizeF size = text.size();
  const QPointF top_left(text_rect.left() + (text_rect.width() - size.width()) / 2,
                         text_rect.top() + (text_rect.height() - size.height()) / 2);
  painter.setPen(kTextColour);
  painter.drawStaticText(top_left, text);
}

QStaticText PreparedText(const std::string& text, const QFont& font) {
  QStaticText prepared(QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
  prepared.setTextFormat(Qt::PlainText);
  prepared.setPerformanceHint(QStaticText::AggressiveCaching);
  prepared.prepare(QTransform(), font);
  return prepared;
}

QSize ScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->size() : QSize(kClientWidth, kClientHeight);
}

}  // namespace

ReportWindow::ReportWindow(const ReportIdentity& identity) {
  setObjectName(QString::fromLatin1(identity.class_name));
  setWindowTitle(QString::fromLatin1(identity.caption));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  create_window(identity);
  visibility_timer_.setInterval(kVisibilityCheckMs);
  connect(&visibility_timer_, &QTimer::timeout, this, &ReportWindow::watch_visibility);
  visibility_timer_.start();
}

void ReportWindow::create_window(const ReportIdentity& identity) {
  RV7_LOG_AS("Create", kLogFunc, "Entry");
  const QSize screen = ScreenSize();
  setGeometry((screen.width() - kCreateWidthSpan) / kCreateDivisor,
              (screen.height() - kCreateHeightSpan) / kCreateDivisor, kCreateWidth, kCreateHeight);
  // The size is fixed before the platform window exists: a platform that cannot take size
  // hints then has none to refuse.
  setFixedSize(kClientWidth, kClientHeight);
  RV7_LOG_AS("Create", kLogInfo, "hwnd=%08x", static_cast<unsigned>(winId()));
  QFont font(QString::fromLatin1(kFontFamily));
  font.setPixelSize(kFontPixelSize);
  font.setWeight(QFont::Normal);
  setFont(font);
  texts_ = {PreparedText(identity.title, font), PreparedText(identity.version, font), {}};
  SizeWindow();
  RV7_LOG_AS("Create", kLogFunc, "Exit");
}

void ReportWindow::SizeWindow() {
  RV7_LOG_AS("SizeWindow", kLogFunc, "Entry");
  RV7_LOG_AS("SizeWindow", kLogInfo, "size, cx=%d,cy=%d", kClientWidth, kClientHeight);
  QRect wanted(QPoint(0, 0), QPoint(kClientWidth + 2 * kBorderWidth + 1,
                                    kClientHeight + 2 * kBorderHeight + kMenuBarHeight + 1));
  RV7_LOG_AS("SizeWindow", kLogInfo, "calc, xL=%d,yT=%d and xR=%d, yB=%d", wanted.left(),
             wanted.top(), wanted.right(), wanted.bottom());
  wanted.adjust(-kBorderWidth, -kBorderHeight - kCaptionHeight, kBorderWidth, kBorderHeight);
  const QSize screen = ScreenSize();
  const int left = (screen.width() - (wanted.right() - wanted.left())) / 2;
  const int top = (screen.height() - (wanted.bottom() - wanted.top())) / 2;
  RV7_LOG_AS("SizeWindow", kLogInfo, "set, xL=%d,yT=%d and xR=%d, yB=%d", left, top,
             left + wanted.right() - wanted.left(), top + wanted.bottom() - wanted.top());
  // The window manager draws the frame: the client area gets the wanted size, fixed.
  setFixedSize(kClientWidth, kClientHeight);
  move((screen.width() - kClientWidth) / 2, (screen.height() - kClientHeight) / 2);
  update();
  RV7_LOG_AS("SizeWindow", kLogFunc, "Exit");
}

QRect ReportWindow::StatusTextRect() {
  return LineBox(kStatusBox).text;
}

void ReportWindow::InvalidateStatus() {
  // Painted as soon as the window thread takes the request, without a second trip through
  // the event queue.
  QMetaObject::invokeMethod(
      this, [this] { repaint(StatusTextRect()); }, Qt::QueuedConnection);
}

void ReportWindow::PostQuit() {
  QMetaObject::invokeMethod(
      this, [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
}

void ReportWindow::PostSizeWindow() {
  QMetaObject::invokeMethod(
      this, [this] { SizeWindow(); }, Qt::QueuedConnection);
}

void ReportWindow::watch_visibility() {
  // A window that cannot be seen (minimised, or taken away behind the program's back) gets
  // no paint: the worker goes on without waiting for one until it can be seen again.
  const QWindow* window = windowHandle();
  const bool visible = window != nullptr && window->isExposed();
  ReportWindowVisible(visible);
  if (visible && ReportHandshakePending()) {
    update(StatusTextRect());
  }
}

const QStaticText& ReportWindow::box_text(int index) {
  if (index == kStatusBox) {
    std::string status = StatusLine();
    if (status != status_) {
      status_ = std::move(status);
      texts_[index] = PreparedText(status_, font());
    }
  }
  return texts_[index];
}

void ReportWindow::paintEvent(QPaintEvent* event) {
  {
    QPainter painter(this);
    painter.fillRect(event->rect(), kFaceColour);
    for (int index = 0; index < static_cast<int>(texts_.size()); ++index) {
      const BoxRects rects = LineBox(index);
      // The box's edges lie on its last row and column: the box covers one pixel more.
      if (!event->region().intersects(rects.box.adjusted(0, 0, 1, 1))) {
        continue;
      }
      DrawSunkenBox(painter, rects.box);
      DrawBoxText(painter, rects.text, box_text(index));
    }
  }
  ReportPaintDone();
  if (!hasFocus()) {
    setFocus(Qt::OtherFocusReason);
  }
}

void ReportWindow::resizeEvent(QResizeEvent*) {
  RV7_LOG_AS("WM_SIZE", kLogFunc, "Entry");
  client_width_ = width();
  client_height_ = height();
  RV7_LOG_AS("WM_SIZE", kLogInfo, "client, cx=%d, cy=%d", client_width_, client_height_);
  RV7_LOG_AS("WM_SIZE", kLogFunc, "Exit");
}

void ReportWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  PostQuit();
}
