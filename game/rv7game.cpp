#include "rv7game.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

#include <cstdint>
#include <cstring>

#include "engine.h"
#include "keymap.h"
#include "rv7bmps.h"
#include "rv7cfg.h"
#include "rv7ini.h"
#include "rv7log.h"
#include "rv7maze.h"
#include "rv7score.h"
#include "services.h"
#include "write_failure.h"
#include "write_failure_message.h"

namespace {

constexpr char kLogModule[] = "rv7game";

// Screen widths from which the larger tiles are offered.
constexpr int kWideScreen = 1280;
constexpr int kMediumScreen = 1024;
constexpr int kWideTileSize = 47;
constexpr int kMediumTileSize = 39;
constexpr int kNarrowTileSize = 31;

GameWindow* g_main_window = nullptr;
ScreenMetrics g_metrics;
std::optional<ScreenMetrics> g_metrics_override;

// The display hooks through which the engine has the window show its changes.
class WindowHooks : public DisplayHooks {
 public:
  void DrawCell(int row, int col) override { ::DrawCell(row, col); }
  void InitBitmap() override { ::InitBitmap(); }
  void SizeWindow() override { ::SizeWindow(); }
  void NoSizeWindow() override { ::NoSizeWindow(); }
  void CheckTileSize() override { ::CheckTileSize(); }
  void RedrawStatusField(StatusField field) override;
  void PostReplayMessage() override;
};

void WindowHooks::RedrawStatusField(StatusField field) {
  switch (field) {
    case StatusField::kMoves:
      return InvalidateField(kMovesField);
    case StatusField::kPushes:
      return InvalidateField(kPushesField);
    case StatusField::kStored:
      return InvalidateField(kStoredField);
    case StatusField::kBestMoves:
      return InvalidateField(kBestMovesField);
    case StatusField::kBestPushes:
      return InvalidateField(kBestPushesField);
    case StatusField::kBestName:
      return InvalidateField(kBestNameField);
    case StatusField::kOwnMoves:
      return InvalidateField(kOwnMovesField);
    case StatusField::kOwnPushes:
      return InvalidateField(kOwnPushesField);
    case StatusField::kPlayer:
      return InvalidateField(kPlayerField);
  }
}

void WindowHooks::PostReplayMessage() {
  if (g_main_window != nullptr) {
    QCoreApplication::postEvent(g_main_window, new QEvent(kReplayEvent));
  }
}

WindowHooks g_hooks;

void ReadSystemMetrics() {
  if (g_metrics_override) {
    g_metrics = *g_metrics_override;
    return;
  }
  const QRect screen = PrimaryScreenGeometry();
  g_metrics = ScreenMetrics{};
  g_metrics.screen_width = screen.width();
  g_metrics.screen_height = screen.height();
}

QFont StatusFont() {
  QFont font(QString::fromLatin1(kStatusFontFamily));
  font.setPixelSize(kStatusFontPixels);
  // Crisp text in its exact colours, as the small raster font of the status area draws it.
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

bool IsInputEvent(const QEvent* event) {
  return event->isInputEvent() || event->type() == QEvent::Close || event->type() == kCommandEvent;
}

}  // namespace

QRect PrimaryScreenGeometry() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry() : QRect();
}

const ScreenMetrics& Metrics() {
  return g_metrics;
}

void OverrideScreenMetrics(std::optional<ScreenMetrics> metrics) {
  g_metrics_override = metrics;
}

GameWindow* MainWindow() {
  return g_main_window;
}

GameWindow::GameWindow() {
  enabled_.fill(true);
  setObjectName(QString::fromLatin1(kWindowClassName));
  setWindowTitle(QString::fromLatin1(kWindowCaption));
  setWindowIcon(QIcon(QString::fromLatin1(kIconResource)));
  // Caption, system menu and minimise box; no sizing frame and no maximise box.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setFont(StatusFont());
  move((g_metrics.screen_width - kFirstWidth) / kFirstPlacementDivisor,
       (g_metrics.screen_height - kFirstHeight) / kFirstPlacementDivisor);
  resize(kFirstWidth, kFirstHeight);
  g_main_window = this;
  LoadBitmaps();
  InitBitmap();
  SizeWindow();
}

GameWindow::~GameWindow() {
  FreeBitmaps();
  if (g_main_window == this) {
    g_main_window = nullptr;
    SetDisplayHooks(nullptr);
  }
}

void GameWindow::CreateButtons() {
  for (std::size_t i = 0; i < kButtons.size(); ++i) {
    const ButtonDef& button_def = kButtons[i];
    auto* button = new QPushButton(QString::fromLatin1(button_def.label), this);
    button->setGeometry(button_def.x, button_def.y, button_def.width, button_def.height);
    // The arrow keys always belong to the window, never to a clicked button.
    button->setFocusPolicy(Qt::NoFocus);
    button->setFont(font());
    button->show();
    const int command = button_def.command;
    connect(button, &QPushButton::clicked, this, [this, command] {
      CommandEvent event(command);
      QCoreApplication::sendEvent(this, &event);
    });
    buttons_[i] = button;
  }
}

void GameWindow::PlaceButtons(int inset) {
  for (std::size_t i = 0; i < kButtons.size(); ++i) {
    if (buttons_[i] != nullptr) {
      buttons_[i]->move(kButtons[i].x + inset, kButtons[i].y);
    }
  }
}

QPushButton* GameWindow::Button(Command command) const {
  const std::size_t index = ButtonIndex(command);
  return index < buttons_.size() ? buttons_[index] : nullptr;
}

void GameWindow::SetButtonEnabled(Command command, bool enabled) {
  const std::size_t index = ButtonIndex(command);
  if (index >= buttons_.size() || buttons_[index] == nullptr || enabled_[index] == enabled) {
    return;
  }
  enabled_[index] = enabled;
  buttons_[index]->setEnabled(enabled);
}

bool GameWindow::event(QEvent* event) {
  return replay_mode() != ReplayMode::kNone ? ReplayEvent(event) : IdleEvent(event);
}

bool GameWindow::ReplayEvent(QEvent* event) {
  if (event->type() == QEvent::Paint) {
    const bool handled = QWidget::event(event);
    QCoreApplication::postEvent(this, new QEvent(kReplayEvent));
    return handled;
  }
  if (event->type() == kReplayEvent) {
    replay_step();
    return true;
  }
  if (IsInputEvent(event)) {
    event->ignore();
    return true;
  }
  return QWidget::event(event);
}

bool GameWindow::IdleEvent(QEvent* event) {
  switch (static_cast<int>(event->type())) {
    case kCommandEvent:
      DoCommand(static_cast<CommandEvent*>(event)->command());
      return true;
    case kReplayEvent:
      return true;
    case QEvent::Close:
      PostQuit();
      event->ignore();
      return true;
    case QEvent::KeyPress: {
      const int key = VirtualKeyOf(*static_cast<QKeyEvent*>(event));
      if (key == kVkNone) {
        return QWidget::event(event);
      }
      HandleKey(key);
      return true;
    }
    case QEvent::Resize:
      RV7_LOG_AS("WM_SIZE", kLogInfo, "client, x=%d, y=%d", width(), height());
      return QWidget::event(event);
    default:
      return QWidget::event(event);
  }
}

void GameWindow::paintEvent(QPaintEvent*) {
  DoPaint(this);
}

void LoadSettings() {
  // From here on a settings or score file that cannot be written is shown to the player.
  SetWriteFailureReporter(&ShowWriteFailure);
  CfgDefaults();
  ConfigIni();
  MazesIni();
  GameIni();
  IniDefaults();
}

void SaveSettings() {
  writeGameIni();
  writeConfigIni();
  writeMazesIni();  // only when an import's write of it failed: the flag is still set
  SaveUnsavedScores();
  release_ini();
}

int InitSize() {
  RV7_ENTRY();
  int largest = kNarrowTileSize;
  if (g_metrics.screen_width >= kWideScreen) {
    largest = kWideTileSize;
  } else if (g_metrics.screen_width >= kMediumScreen) {
    largest = kMediumTileSize;
  }
  SetLargestTileSize(largest);
  SetTileSize(largest);
  RV7_LOG(kLogInfo, "screen, %dx%d", g_metrics.screen_width, g_metrics.screen_height);
  RV7_LOG(kLogInfo, "bitmap size, %d", largest);
  RV7_EXIT();
  return largest;
}

GameWindow* Create() {
  RV7_ENTRY();
  ReadSystemMetrics();
  InitSize();
  if (std::strcmp(player_name(), kPlaceholderPlayer) == 0 && Services().setup) {
    Services().setup(nullptr);
  }
  SetDisplayHooks(&g_hooks);
  GetMaze();
  InitLevel(true);
  FitTileSize();
  auto* window = new GameWindow();
  RV7_LOG(kLogInfo, "hwnd=%08x", static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(window)));
  window->CreateButtons();
  CheckTileSize();
  SizeWindow();
  RV7_EXIT();
  return window;
}

void main2() {
  RV7_ENTRY();
  GameWindow* window = Create();
  window->show();
  window->update();
  QCoreApplication::exec();
  delete window;
  RV7_EXIT();
}

void PostQuit() {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void InvalidateClient(const QRect& rect) {
  if (g_main_window != nullptr) {
    g_main_window->update(rect);
  }
}
