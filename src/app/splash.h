// The splash screen: the program's name and version while it starts.
//
// It opens before the slow parts of start-up, stays on top and is the modal
// owner meanwhile (so the tick does not run during start-up). Once start-up
// is done it stays until its deadline (8 seconds after it opened) unless a
// key or a mouse button dismisses it at once; that key or click is taken by
// the splash and goes nowhere else.
#pragma once

#include <QWidget>
#include <cstdint>

namespace lemmabox {

class SplashScreen : public QWidget {
  Q_OBJECT

 public:
  explicit SplashScreen(int milliseconds);
  ~SplashScreen() override;

  // Opens the splash (centred, on top) and makes it the modal owner.
  void Open();
  // Waits until the deadline or a key or click, then closes the splash and
  // gives the modal owner back.
  void Finish();

  bool Dismissed() const { return dismissed_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int milliseconds_;
  uint64_t deadline_ = 0;
  bool dismissed_ = false;
  bool open_ = false;
  const void* savedOwner_ = nullptr;
};

}  // namespace lemmabox
