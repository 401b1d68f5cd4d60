#include "app/splash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "app/screen_port.h"
#include "core/registration.h"
#include "ports/font_metrics.h"
#include "shell/alerts.h"
#include "shell/string_cache.h"

namespace lemmabox {
namespace {

QElapsedTimer& Clock() {
  static QElapsedTimer clock;
  if (!clock.isValid()) clock.start();
  return clock;
}

bool IsDismissal(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      return true;
    default:
      return false;
  }
}

}  // namespace

SplashScreen::SplashScreen(int milliseconds)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      milliseconds_(milliseconds) {
  setObjectName("splash");
  setWindowTitle(tr("Welcome"));
  setFixedSize(420, 220);
}

SplashScreen::~SplashScreen() {
  if (open_) {
    qApp->removeEventFilter(this);
    SetModalOwner(savedOwner_);
  }
}

void SplashScreen::Open() {
  deadline_ = static_cast<uint64_t>(Clock().elapsed()) + static_cast<uint64_t>(milliseconds_);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  savedOwner_ = ModalOwner();
  SetModalOwner(this);
  qApp->installEventFilter(this);
  open_ = true;
  show();
  raise();
  QCoreApplication::processEvents();
}

void SplashScreen::Finish() {
  if (!open_) return;
  QEventLoop loop;
  QTimer deadline;
  deadline.setSingleShot(true);
  connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
  const uint64_t now = static_cast<uint64_t>(Clock().elapsed());
  if (!dismissed_ && now < deadline_) {
    deadline.start(static_cast<int>(deadline_ - now));
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [&] {
      if (dismissed_) loop.quit();
    });
    poll.start(20);
    loop.exec();
  }
  qApp->removeEventFilter(this);
  open_ = false;
  hide();
  SetModalOwner(savedOwner_);
}

bool SplashScreen::eventFilter(QObject*, QEvent* event) {
  if (!open_ || !IsDismissal(event->type())) return false;
  // The key or click that dismisses the splash is the splash's.
  dismissed_ = true;
  return true;
}

void SplashScreen::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  QLinearGradient background(0, 0, 0, height());
  background.setColorAt(0, QColor(252, 252, 255));
  background.setColorAt(1, QColor(222, 230, 244));
  p.fillRect(rect(), background);
  p.setPen(QPen(QColor(120, 130, 160), 1));
  p.drawRect(rect().adjusted(0, 0, -1, -1));

  QFont title("Nimbus Roman");
  title.setPixelSize(44);
  title.setItalic(true);
  p.setFont(title);
  p.setPen(QColor(30, 40, 80));
  p.drawText(QRect(0, 36, width(), 60), Qt::AlignHCenter | Qt::AlignVCenter,
             QString::fromUtf8(ProgramName()));

  // A few signs of the trade, in the notebook's own Symbol font.
  const std::string signs = "\xF2  \xB6  \x53  \x70  \xA5";
  const PortFont symbol{"Symbol", 28};
  ScreenPort port(72);
  port.Begin(&p, nullptr, Rect{0, 0, width(), height()});
  port.setColors(RgbColor{70, 90, 150}, kWhite);
  port.drawString(signs, symbol, (width() - TextWidth(signs, symbol)) / 2, 128);
  port.End();

  QFont words("Nimbus Sans");
  words.setPixelSize(14);
  p.setFont(words);
  p.setPen(QColor(50, 50, 60));
  p.drawText(QRect(0, 142, width(), 22), Qt::AlignHCenter | Qt::AlignVCenter,
             tr("A mathematics notebook"));
  words.setPixelSize(12);
  p.setFont(words);
  p.setPen(QColor(100, 100, 110));
  p.drawText(QRect(0, 176, width(), 20), Qt::AlignHCenter | Qt::AlignVCenter,
             tr("Version %1").arg(QString::fromUtf8(LemmaboxVersion())));
}

}  // namespace lemmabox
