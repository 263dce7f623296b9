// The report programs' window: a fixed 300 x 90 client area showing three sunken line
// boxes with the title, the version and the Status line. It does nothing but paint; every
// paint sets the Sync event of the Paint handshake. Every 250 ms it tells the shell whether it
// can be seen (a worker does not wait for paints of a window that cannot) and repaints its
// status box for a worker still waiting.
#pragma once

#include <QRect>
#include <QTimer>
#include <QWidget>
#include <string>

#include "report_shell.h"

class ReportWindow : public QWidget {
 public:
  explicit ReportWindow(const ReportIdentity& identity);

  // Gives the window its fixed client size, centres it on the screen and invalidates it.
  // Window thread only.
  void SizeWindow();
  // Asks the window thread to repaint the status box's text rectangle without erasing.
  // Safe from any thread.
  void InvalidateStatus();
  // Asks the window thread to end the message loop. Safe from any thread; a request
  // still queued when the window is destroyed is dropped with it.
  void PostQuit();
  // Has SizeWindow run on the window thread. Safe from any thread.
  void PostSizeWindow();

  // The status box's text rectangle, in client coordinates.
  static QRect StatusTextRect();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void create_window();
  void watch_visibility();

  std::string title_;
  std::string version_;
  int client_width_ = 0;
  int client_height_ = 0;
  QTimer visibility_timer_;
};
