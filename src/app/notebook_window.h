// A notebook window: the menu bar and a scrollable pane that shows the
// laid-out notebook, selects by clicking and dragging, blinks the caret and
// answers pointer help.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

#include "app/app_window.h"
#include "app/documents.h"
#include "app/screen_port.h"
#include "layout/context.h"
#include "mathobj/selection.h"

namespace lemmabox {

struct NotebookView;
class LayoutEnv;

// The scrolling view of one notebook. Content coordinates are the layout's
// port units with the notebook's top-left corner at (0, 0); the pane shows
// them with a margin around.
class NotebookPane : public QAbstractScrollArea {
  Q_OBJECT

 public:
  static constexpr int kMargin = 8;

  NotebookPane(Handle root, QWidget* parent);
  ~NotebookPane() override;

  Handle Root() const { return root_; }
  NotebookView* View() const { return view_; }
  const LayoutEnv& Env() const { return *env_; }

  // The notebook's fonts changed: a new layout environment, everything
  // measured again.
  void RebuildLayout();
  // Lays the notebook out when its layout is stale and redraws everything.
  void Refresh();
  // Marks an area (content coordinates) for redrawing.
  void InvalidateContent(const Rect& area);
  // Scrolls so that a selection can be seen.
  void ScrollIntoView(const Selection& selection);
  // The notebook is about to go: the pane lets go of it and shows nothing.
  void Detach();

  // Copy as Picture: the area a selection covers (content coordinates;
  // empty when nothing can be shown), and that area of the notebook drawn
  // onto a painter with the area's top-left corner at (0, 0), without the
  // selection's highlight. `device` is the image painted into, if any.
  Rect PictureArea(const Selection& selection);
  void DrawPicture(QPainter& painter, QImage* device, const Rect& area);

  void Idle();
  TipAnswer TipQuery(QPoint globalPoint);

  // Content point of a point of the viewport, and back.
  Point ContentPoint(QPoint viewportPoint) const;
  QPoint ViewportPoint(Point contentPoint) const;

  // The picture of the visible part, as the screen shows it (screenshots).
  QImage Frame() const { return frame_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

 private:
  void EnsureLayout();
  void UpdateScrollBars();
  void PaintFrame(const QRect& viewportArea);
  void DrawSelections(QPainter& painter);
  void Gesture(Point current, bool start, bool doubleClick, bool extend);
  void UpdateCursor(QPoint viewportPoint);
  int32_t ResolutionOfScreen() const;

  Handle root_;
  NotebookView* view_ = nullptr;
  ScreenPort port_;
  std::unique_ptr<LayoutEnv> env_;
  QImage frame_;
  Rect content_;  // the laid-out notebook
  bool caretOn_ = true;
  // The gesture of the mouse button being held.
  bool tracking_ = false;
  ClickGesture gesture_;
  std::vector<Selection> beforeGesture_;
  bool extend_ = false;
  Rect cursorArea_;
};

class NotebookWindow : public QMainWindow, public AppWindow {
  Q_OBJECT

 public:
  explicit NotebookWindow(NotebookFile& file);
  ~NotebookWindow() override;

  QWidget* Widget() override { return this; }
  // The notebook file shown; null once the file has closed.
  NotebookFile* File() const { return file_; }
  // Its Main Theory (null once the file has closed).
  Handle Root() const { return root_; }
  NotebookPane* Pane() const { return pane_; }
  // The header line printed on every page (program characters).
  std::string& PrintHeader() { return printHeader_; }
  // The file is closing: the window lets go of it and goes without asking.
  void ReleaseFile();
  // Shows the file's name as the title (after Save as, an emergency rename).
  void UpdateTitle();
  // Where the window is and what it shows, as notebook files keep it; and
  // back (a placement that does not fit the screen is left alone).
  WindowPlacement Placement() const;
  void Place(const WindowPlacement& placement);

  bool MayClose() override;
  void Activate() override;
  void Deactivate() override;
  void Idle() override;
  void Periodic() override;
  bool Key(KeystrokeCode code) override;
  TipAnswer TipQuery(QPoint globalPoint) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Minimized or back.
  void StateChanged();
  // The file remembers where the window is, for the next save.
  void KeepPlacement();

  NotebookFile* file_;
  Handle root_;
  NotebookPane* pane_;
  std::string printHeader_;
  std::string shownPath_;
};

}  // namespace lemmabox
