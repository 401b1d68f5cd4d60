#include "app/tips.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

#include "app/desktop.h"
#include "app/entry_guard.h"
#include "app/qt_platform.h"
#include "shell/alerts.h"
#include "shell/prefs.h"

namespace lemmabox {
namespace {

constexpr int kFirstDelay = 2000;
constexpr int kOutOfRectDelay = 150;
constexpr int kIdleOutOfRectDelay = 100;
constexpr int kWindowChangeDelay = 3000;
constexpr int kIdleWindowChangeDelay = 2000;
constexpr int kLeftProgramDelay = 2000;

}  // namespace

TipTracker::TipTracker() {
  qApp->installEventFilter(this);
}

TipTracker::~TipTracker() {
  if (qApp) qApp->removeEventFilter(this);
  delete tip_;
}

void TipTracker::ReadPreferences() {
  tipsOn_ = TipsSetting();
  paletteTipsOn_ = PaletteTipsSetting();
  delay_ = kFirstDelay;
}

bool TipTracker::Enabled(AppWindow* window) const {
  if (!window) return false;
  return window->IsFloating() ? paletteTipsOn_ : tipsOn_;
}

bool TipTracker::TipShown() const {
  return tip_ && tip_->isVisible();
}

QString TipTracker::TipText() const {
  return TipShown() ? tip_->text() : QString();
}

void TipTracker::Hide(int nextDelay) {
  if (tip_) {
    tip_->hide();
    tip_->deleteLater();
    tip_ = nullptr;
  }
  delay_ = nextDelay;
}

void TipTracker::Track(AppWindow* window, QPoint globalPoint, uint64_t now, int windowDelay,
                       int rectDelay) {
  if (window != window_) {
    // Coming back to the window the pointer left is no change of window.
    if (window_) Hide(windowDelay);
    window_ = window;
    hot_ = QRect();
    text_.clear();
  }
  if (!window_) return;
  if (hot_.contains(globalPoint)) return;
  if (!window_->shown() || !WindowList::Front()) return;
  entered_ = now;
  if (TipShown()) Hide(rectDelay);
  TipAnswer answer = window_->TipQuery(globalPoint);
  hot_ = answer.hotRect.isValid() ? answer.hotRect : QRect(globalPoint, QSize(1, 1));
  text_ = answer.text;
}

void TipTracker::PointerMoved(AppWindow* window, QPoint globalPoint, uint64_t now) {
  if (!window) {
    // Left the program's windows: the tip goes; tracking starts afresh when
    // the pointer comes back.
    Hide(kLeftProgramDelay);
    hot_ = QRect();
    text_.clear();
    return;
  }
  Track(window, globalPoint, now, kWindowChangeDelay, kOutOfRectDelay);
}

void TipTracker::Idle(AppWindow* window, QPoint globalPoint, uint64_t now) {
  Track(window, globalPoint, now, kIdleWindowChangeDelay, kIdleOutOfRectDelay);
  if (!window_ || TipShown() || text_.isEmpty() || !Enabled(window_)) return;
  if (!hot_.contains(globalPoint)) return;
  if (now - entered_ > static_cast<uint64_t>(delay_)) Show(globalPoint);
}

void TipTracker::Show(QPoint globalPoint) {
  auto* tip = new QLabel(text_, nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
  tip->setObjectName("tipWindow");
  tip->setTextFormat(Qt::PlainText);
  tip->setWordWrap(true);
  tip->setMaximumWidth(360);
  // The tip's font is a plain sans serif, 14 pixels high.
  QFont font("Nimbus Sans");
  font.setPixelSize(14);
  font.setWeight(QFont::Normal);
  tip->setFont(font);
  tip->setMargin(4);
  tip->setStyleSheet("QLabel { background: #ffffe1; color: black; border: 1px solid #767676; }");
  tip->adjustSize();
  QPoint at = globalPoint + QPoint(12, 18);
  if (const QScreen* screen = QGuiApplication::screenAt(globalPoint)) {
    const QRect area = screen->availableGeometry();
    at.setX(std::min(at.x(), area.right() - tip->width()));
    at.setY(std::min(at.y(), area.bottom() - tip->height()));
  }
  tip->move(at);
  tip->show();
  tip_ = tip;
}

bool TipTracker::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::MouseMove && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    AppWindow* window = WindowList::Owning(widget);
    if (window && Desktop::Instance()) {
      const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
      RunEntry([&] { PointerMoved(window, global, Desktop::Instance()->Host().TickCount()); });
    }
  } else if (type == QEvent::Leave && watched->isWidgetType() &&
             static_cast<QWidget*>(watched)->isWindow()) {
    // The pointer left a window; when it is over none of ours now, tracking
    // starts again from nothing.
    if (!QApplication::widgetAt(QCursor::pos())) PointerMoved(nullptr, QCursor::pos(), 0);
  } else if (type == QEvent::MouseButtonPress || type == QEvent::KeyPress) {
    if (TipShown()) Hide(kOutOfRectDelay);
  }
  return false;
}

}  // namespace lemmabox
