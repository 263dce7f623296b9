// The report programs' window: a fixed 300 x 90 client area showing three sunken line
// boxes with the title, the version and the Status line. It does nothing but paint; every
// paint sets the Sync event of the Paint handshake. A paint draws only the boxes it was asked
// for (the status box, for a new status text), from texts laid out once each. Every 250 ms it tells
// the shell whether it can be seen (a worker does not wait for paints of a window that cannot) and
// repaints its status box for a worker still waiting.
#pragma once

#include <QRect>
#include <QStaticText>
#include <QTimer>
#include <QWidget>
#include <array>
#include <string>

#include "report_shell.h"

class ReportWindow : public QWidget {
 public:
  explicit ReportWindow(const ReportIdentity& identity);

  // Gives the window its fixed client size, centres it on the screen and invalidates it.
  // Window thread only.
  void SizeWindow();
  // Asks the window thread to repaint the status box's text rectangle without erasing; it
  // paints as soon as the window thread takes the request. Safe from any thread.
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
  void create_window(const ReportIdentity& identity);
  void watch_visibility();
  // The laid-out text of line box `index`; the status text is laid out anew when it changed.
  const QStaticText& box_text(int index);

  // Laid-out texts of the title, version and status boxes.
  std::array<QStaticText, 3> texts_;
  std::string status_;  // the status text that texts_ holds
  int client_width_ = 0;
  int client_height_ = 0;
  QTimer visibility_timer_;
};
