// Keystroke-to-painted latency of the desktop program.
//
// A notebook window holding 1,000 propositions (declarations of the names
// used, then assumptions) takes 500 keystrokes: equations typed one
// character at a time, each ended with Return. For every keystroke the time
// runs from the key press reaching the window to the end of the paint that
// shows its effect (the laid-out notebook drawn into the window's picture).
// Prints the median, the 95th percentile and the worst case.
//
//   bench_keystroke_latency [--propositions N] [--keystrokes K]
//
// Runs on Qt's offscreen platform unless a display is named (QT_QPA_PLATFORM).
#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/desktop.h"
#include "app/documents.h"
#include "app/notebook_window.h"
#include "app/qt_platform.h"
#include "editor/selection_list.h"
#include "layout/hooks.h"
#include "mathobj/constructors.h"
#include "notebook/declaration_pass.h"
#include "notebook/expression_writer.h"
#include "notebook/notebook_hooks.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"

namespace lemmabox {
namespace {

constexpr const char* kNames[] = {"a", "b", "c", "x", "y", "t"};

// Counts the paints of a widget.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      // The paint itself runs after the filter: count it once it is done.
      static_cast<QWidget*>(watched)->removeEventFilter(this);
      QApplication::sendEvent(watched, event);
      watched->installEventFilter(this);
      ++paints;
      return true;
    }
    return false;
  }
};

void Fill(Handle root, int propositions) {
  for (const char* name : kNames) {
    InsertProp(NewNameDecl(NewUndeclaredName(name), kNameVariable), root, ObjCount(root), 0);
  }
  const int assumptions = std::max(0, propositions - static_cast<int>(std::size(kNames)));
  for (int i = 0; i < assumptions; ++i) {
    // Sums and products of a few terms, as a working notebook holds.
    Handle lhs = NewUndeclaredName(kNames[i % 6]);
    Handle rhs = NewSum(NewProduct(NewInteger(i + 2), NewUndeclaredName(kNames[(i + 1) % 6])),
                        NewPower(NewUndeclaredName(kNames[(i + 3) % 6]), NewInteger(2)));
    InsertProp(NewAssumption(NewEquation(lhs, rhs)), root, ObjCount(root), 0);
  }
  DeclarationPass(root, false);
  gNotebookDisplay.relayoutRows(root);
}

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  const size_t at = std::min(values.size() - 1, static_cast<size_t>(fraction * values.size()));
  return values[at];
}

int Measure(int propositions, int keystrokes) {
  DesktopOptions options;
  options.splashMilliseconds = 0;
  options.singleInstance = false;
  options.crashHandler = false;
  Desktop desktop(options);
  if (!desktop.Start({":"})) return 2;
  // Questions would stop the measurement; every name is declared, so none
  // should come.
  desktop.Host().SetBoxHook([](const MessageBoxRequest& request) {
    std::fprintf(stderr, "unexpected box: %s\n", request.text.c_str());
    return std::optional<BoxAnswer>(BoxAnswer::kCancel);
  });
  NotebookWindow* window = FrontNotebookWindow();
  if (!window) return 2;
  window->resize(900, 700);
  Fill(window->Root(), propositions);
  NotebookPane* pane = window->Pane();
  pane->Refresh();
  QApplication::processEvents();
  // Typing goes to the end of the notebook, where a user adds an equation.
  ClearSelection();
  pane->verticalScrollBar()->setValue(pane->verticalScrollBar()->maximum());
  QApplication::processEvents();

  PaintCounter counter;
  pane->viewport()->installEventFilter(&counter);
  // Typed as it reads: no power or fraction that would keep the caret in
  // its exponent or denominator.
  const std::string line = "y=3*a*x+b*x-c";
  std::vector<double> times;
  times.reserve(keystrokes);
  QElapsedTimer clock;
  size_t at = 0;
  int unpainted = 0;  // keys after which nothing was painted within 2 s
  int reactivated = 0;
  for (int k = 0; k < keystrokes; ++k) {
    const bool ret = at == line.size();
    const int key = ret ? int(Qt::Key_Return) : int(QChar(line[at]).toUpper().unicode());
    const QString text = ret ? QString("\r") : QString(QChar(line[at]));
    at = ret ? 0 : at + 1;
    // Without a window manager the offscreen platform may take the
    // activation away from the window meanwhile; a user types into the
    // window in front.
    if (WindowList::Front() != window) {
      ++reactivated;
      WindowList::Activate(window);
    }
    const int before = counter.paints;
    clock.start();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(pane->viewport(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(pane->viewport(), &release);
    // Until the window has painted what the key changed.
    while (counter.paints == before && clock.elapsed() < 2000) {
      QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    if (counter.paints == before) ++unpainted;
    times.push_back(clock.nsecsElapsed() / 1e6);
  }
  pane->viewport()->removeEventFilter(&counter);
  // The keys did what a user sees: one new equation per Return.
  Handle root = window->Root();
  int typed = 0;
  for (int i = FirstProp(root); i < ObjCount(root); ++i) {
    Handle prop = ObjSlot(root, i);
    if (ObjType(prop) == kAssumption && ExpressionScript(StatementOf(prop)) == line) ++typed;
  }
  const int expected = keystrokes / static_cast<int>(line.size() + 1);
  if (typed < expected) {
    std::fprintf(stderr, "only %d of %d equations arrived\n", typed, expected);
    return 1;
  }

  double sum = 0;
  for (double t : times) sum += t;
  std::printf("keystroke-to-painted latency, %d propositions, %d keystrokes (%d paints)\n",
              propositions, keystrokes, counter.paints);
  std::printf("  median %.2f ms   95th percentile %.2f ms   mean %.2f ms   worst %.2f ms\n",
              Percentile(times, 0.5), Percentile(times, 0.95), sum / times.size(),
              Percentile(times, 1.0));
  if (reactivated > 0)
    std::printf("  the window was brought to the front again %d times\n", reactivated);
  if (unpainted > 0) std::printf("  %d keystrokes painted nothing within 2 s\n", unpainted);
  desktop.Shutdown();
  return 0;
}

}  // namespace
}  // namespace lemmabox

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int propositions = 1000;
  int keystrokes = 500;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--propositions") == 0) propositions = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--keystrokes") == 0) keystrokes = std::atoi(argv[i + 1]);
  }
  QApplication application(argc, argv);
  return lemmabox::Measure(std::max(propositions, 10), std::max(keystrokes, 1));
}
