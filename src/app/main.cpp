// lemmabox: the desktop program.
#include <QApplication>

#include "app/desktop.h"
#include "app/entry_guard.h"

namespace {

// Every entry into the program guards itself; this is the last line behind
// those guards, so that nothing the program raises ever unwinds through Qt.
class DesktopApplication : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const lemmabox::InternalFailure& failure) {
      lemmabox::ReportInternalError(failure.name);
    } catch (const lemmabox::Failure& failure) {
      lemmabox::Alert(failure.message);
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  DesktopApplication application(argc, argv);
  QApplication::setApplicationName("Lemmabox");
  lemmabox::Desktop desktop;
  return desktop.Run(argc, argv);
}
