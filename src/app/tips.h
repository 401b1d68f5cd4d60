// Tips: a short help text that appears when the pointer rests on something.
//
// The window under the pointer is asked (its tip query) for the area around
// the pointer where the answer stays the same and for the text. When the
// pointer has stayed inside that area longer than the tip delay, the tip is
// shown; moving out of it hides the tip, and the next one comes sooner.
// Delays: 2000 ms at first; after a tip was hidden because the pointer left
// its area, 150 ms (100 ms when the idle pass noticed); after a change of
// window, 3000 ms (2000 ms from the idle pass); after leaving the program's
// windows, 2000 ms.
//
// Notebook tips follow the "Tips" preference (section "Help", off unless
// "on"), palette tips "Palette Tips" (on unless set otherwise).
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <cstdint>

#include "app/app_window.h"

class QLabel;

namespace lemmabox {

class TipTracker : public QObject {
  Q_OBJECT

 public:
  TipTracker();
  ~TipTracker() override;

  void ReadPreferences();
  bool TipsOn() const { return tipsOn_; }
  bool PaletteTipsOn() const { return paletteTipsOn_; }
  void SetTipsOn(bool on) { tipsOn_ = on; }
  void SetPaletteTipsOn(bool on) { paletteTipsOn_ = on; }

  // The pointer moved to a global point over a window of ours (null: over
  // nothing of ours).
  void PointerMoved(AppWindow* window, QPoint globalPoint, uint64_t now);
  // The idle pass: the same tracking from the pointer's position, and the
  // tip shown once its delay has passed.
  void Idle(AppWindow* window, QPoint globalPoint, uint64_t now);
  void Hide(int nextDelay);

  bool TipShown() const;
  QString TipText() const;
  int Delay() const { return delay_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Track(AppWindow* window, QPoint globalPoint, uint64_t now, int windowDelay, int rectDelay);
  bool Enabled(AppWindow* window) const;
  void Show(QPoint globalPoint);

  bool tipsOn_ = false;
  bool paletteTipsOn_ = true;
  int delay_ = 2000;
  AppWindow* window_ = nullptr;
  QRect hot_;
  QString text_;
  uint64_t entered_ = 0;
  QPointer<QLabel> tip_;
};

}  // namespace lemmabox
