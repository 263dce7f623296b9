#include "game_fixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <array>
#include <cstdlib>
#include <filesystem>

#include "engine.h"
#include "files.h"
#include "rv7cfg.h"
#include "rv7ini.h"
#include "rv7score.h"
#include "services.h"
#include "tone.h"

namespace {

int g_beeps = 0;
void CountBeep() {
  ++g_beeps;
}

constexpr std::array<QRgb, static_cast<int>(TileKind::kCount)> kKindColours{
    qRgb(250, 250, 200), qRgb(160, 80, 0),  qRgb(0, 160, 0),   qRgb(255, 255, 0), qRgb(90, 30, 30),
    qRgb(0, 0, 160),     qRgb(0, 0, 220),   qRgb(0, 160, 160), qRgb(0, 220, 220), qRgb(160, 0, 160),
    qRgb(220, 0, 220),   qRgb(100, 100, 0), qRgb(140, 140, 40)};

// A solid tile for every name the renderer asks for.
QPixmap PlaceholderTile(const QString& name) {
  for (int size = kSmallestTileSize; size <= kLargestTileSizeLimit; size += kTileSizeStep) {
    for (int k = 0; k < static_cast<int>(TileKind::kCount); ++k) {
      if (TileName(bitmap_set(), size, static_cast<TileKind>(k)) == name) {
        QPixmap tile(size, size);
        tile.fill(KindColour(static_cast<TileKind>(k)));
        return tile;
      }
    }
  }
  return {};
}

}  // namespace

QColor KindColour(TileKind kind) {
  return QColor(kKindColours[static_cast<int>(kind)]);
}

int LowBeeps() {
  return g_beeps;
}

void GameWindowTest::SetUpTestSuite() {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // No sound device: every beep reaches the counter instead.
  static const std::string empty_config = [] {
    const std::string path = "/tmp/rv7game-empty-alsa.conf";
    WriteTextFile(path, "");
    return path;
  }();
  ::setenv("ALSA_CONFIG_PATH", empty_config.c_str(), 1);
  SetBeepFallback(&CountBeep);
  if (QApplication::instance() == nullptr) {
    static int argc = 1;
    static char name[] = "game_test";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
  }
}

void GameWindowTest::SetUp() {
  ASSERT_TRUE(scratch_.made());
  std::filesystem::create_directories(scratch_.path() / "Ini");
  g_beeps = 0;
  SetTileSource(&PlaceholderTile);
  OverrideScreenMetrics(kTestScreen);
  Services() = GameServices{};
  set_selected_delay(kInitialDelayMs);
  set_facing(Facing::kNone);
}

void GameWindowTest::TearDown() {
  if (!finished_) {
    Discard();
  }
  stop_replay();
  ClearStats();
  SetTileSource({});
  OverrideScreenMetrics(std::nullopt);
  Services() = GameServices{};
}

void GameWindowTest::WriteFile(std::string_view suite_path, std::string_view bytes) {
  ASSERT_TRUE(WriteTextFile(NativePath(suite_path), bytes)) << suite_path;
}

std::string GameWindowTest::ReadFile(std::string_view suite_path) {
  return ReadTextFile(NativePath(suite_path));
}

void GameWindowTest::WriteSettings(std::string_view player, std::string_view set, int level,
                                   int count) {
  WriteFile("Ini\\Game.Ini", "[Game]\nMaze = " + std::string(set) +
                                 "\nPlayer = " + std::string(player) + "\n" + std::string(set) +
                                 " = " + std::to_string(level) + "\n");
  WriteFile("Ini\\Mazes.Ini",
            "[Mazes]\n" + std::string(set) + " = " + std::to_string(count) + "\n");
}

void GameWindowTest::Start() {
  LoadSettings();
  window_.reset(Create());
  ASSERT_NE(window_, nullptr);
  window_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  Shot();
}

void GameWindowTest::Finish() {
  window_.reset();
  SaveSettings();
  finished_ = true;
}

void GameWindowTest::Discard() {
  window_.reset();
  release_ini();
}

void GameWindowTest::Press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
  QTest::keyClick(window_.get(), key, modifiers);
}

QImage GameWindowTest::Shot() {
  window_->repaint();
  return window_->grab().toImage();
}

void GameWindowTest::WaitForReplayEnd() {
  QElapsedTimer timer;
  timer.start();
  constexpr int kReplayPatienceMs = 5000;
  while (replay_mode() != ReplayMode::kNone && timer.elapsed() < kReplayPatienceMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  ASSERT_EQ(replay_mode(), ReplayMode::kNone) << "the replay did not end";
}

int GameWindowTest::RunApplicationLoop(int patience_ms) {
  QTimer patience;
  patience.setSingleShot(true);
  QObject::connect(&patience, &QTimer::timeout, [] { QCoreApplication::exit(kLoopPatienceOver); });
  patience.start(patience_ms);
  return QCoreApplication::exec();
}

QColor GameWindowTest::BoardColour(int row, int col) const {
  const int size = TileSize();
  return BoardImage().toImage().pixelColor(col * size + size / 2, row * size + size / 2);
}

QColor GameWindowTest::ScreenColour(const QImage& shot, int row, int col) const {
  const int size = TileSize();
  return shot.pixelColor(Layout().board_left + col * size + size / 2,
                         kBoardTop + row * size + size / 2);
}
