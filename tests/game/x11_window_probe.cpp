// Looks at real X11 windows for the real-window tests, through the toolkit's screen grab:
//   shot WINDOW FILE                 saves what the window shows as a PNG
//   text WINDOW X Y W H TEXT         checks that the rectangle shows TEXT, centred, in the
//                                    dialog font: dark ink on a light ground whose extent
//                                    matches the text's width and height (exit 0 when it does)
//   cover X Y W H MS                 covers the rectangle with a magenta window for MS ms
//   same WINDOW FILE X Y W H         checks that the rectangle of the window shows what it
//                                    showed in FILE (a shot of the window)
// Exits 0 when the check holds, 1 when it does not, 2 on wrong use.
#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kInkLevel = 110;       // grey level below which a pixel is ink
constexpr int kGroundLevel = 200;    // grey level above which it is the dialog's ground
constexpr int kExtentSlack = 3;      // pixels the ink may differ from the text's box
constexpr double kSameShare = 0.99;  // share of equal pixels for "same"

QImage Grab(const char* window) {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen->grabWindow(std::strtoull(window, nullptr, 0)).toImage();
}

int Shot(char** argv) {
  return Grab(argv[0]).save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}

int Text(char** argv) {
  const QImage image = Grab(argv[0]);
  const QRect area(std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
  QRect ink;
  int ground = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const int grey = qGray(image.pixel(x, y));
      ground += grey > kGroundLevel;
      if (grey < kInkLevel) {
        ink |= QRect(x, y, 1, 1);
      }
    }
  }
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSize(8);
  const QRect box = QFontMetrics(font).tightBoundingRect(QString::fromUtf8(argv[5]));
  std::printf("ink %dx%d at %d,%d; text %dx%d; ground %d of %lld pixels\n", ink.width(),
              ink.height(), ink.x(), ink.y(), box.width(), box.height(), ground,
              static_cast<long long>(area.width()) * area.height());
  const bool light = ground * 2 > area.width() * area.height();
  const bool wide = std::abs(ink.width() - box.width()) <= kExtentSlack;
  const bool high = std::abs(ink.height() - box.height()) <= kExtentSlack;
  const bool centred = std::abs(ink.center().x() - area.center().x()) <= kExtentSlack;
  return light && wide && high && centred ? 0 : 1;
}

int Cover(char** argv, QApplication& app) {
  QWidget cover(nullptr, Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint);
  cover.setGeometry(std::atoi(argv[0]), std::atoi(argv[1]), std::atoi(argv[2]),
                    std::atoi(argv[3]));
  cover.setAutoFillBackground(true);
  QPalette palette = cover.palette();
  palette.setColor(QPalette::Window, Qt::magenta);
  cover.setPalette(palette);
  cover.show();
  QTimer::singleShot(std::atoi(argv[4]), &app, &QApplication::quit);
  QApplication::exec();
  return 0;
}

int Same(char** argv) {
  const QRect area(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
  const QImage now = Grab(argv[0]).copy(area).convertToFormat(QImage::Format_RGB32);
  const QImage before =
      QImage(QString::fromLocal8Bit(argv[1])).copy(area).convertToFormat(QImage::Format_RGB32);
  if (now.size() != before.size() || now.isNull()) {
    std::printf("sizes differ\n");
    return 1;
  }
  long long equal = 0;
  for (int y = 0; y < now.height(); ++y) {
    for (int x = 0; x < now.width(); ++x) {
      equal += now.pixel(x, y) == before.pixel(x, y);
    }
  }
  const double share =
      static_cast<double>(equal) / (static_cast<double>(now.width()) * now.height());
  std::printf("%.4f of the pixels are as before\n", share);
  return share >= kSameShare ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString command = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
  if (command == QLatin1String("shot") && argc == 4) {
    return Shot(argv + 2);
  }
  if (command == QLatin1String("text") && argc == 8) {
    return Text(argv + 2);
  }
  if (command == QLatin1String("cover") && argc == 7) {
    return Cover(argv + 2, app);
  }
  if (command == QLatin1String("same") && argc == 8) {
    return Same(argv + 2);
  }
  std::fprintf(stderr, "usage: %s shot|text|cover|same ...\n", argv[0]);
  return 2;
}
