#include "app/notebook_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>

#include "app/desktop.h"
#include "app/entry_guard.h"
#include "app/menu_bar.h"
#include "app/palette_window.h"
#include "editor/comment_editing.h"
#include "editor/perform.h"
#include "editor/selection_list.h"
#include "files/file_kinds.h"
#include "layout/click.h"
#include "layout/comment_caret.h"
#include "layout/highlight.h"
#include "layout/metrics.h"
#include "layout/notebook_render.h"
#include "layout/pointer_help.h"
#include "layout/relayout.h"
#include "notebook/document.h"
#include "notebook/notebook_record.h"
#include "shell/alerts.h"
#include "shell/charset.h"
#include "shell/commands.h"
#include "shell/keyboard_map.h"
#include "shell/menus.h"
#include "shell/string_cache.h"
#include "shell/strings.h"

namespace lemmabox {
namespace {

QRect ToQRect(const Rect& r) {
  return QRect(r.left, r.top, r.Width(), r.Height());
}

Qt::CursorShape ShapeOf(int32_t kind) {
  switch (kind) {
    case kCursorText:
      return Qt::IBeamCursor;
    case kCursorIcon:
      return Qt::PointingHandCursor;
    case kCursorDragCopy:
      return Qt::OpenHandCursor;
    default:
      return Qt::ArrowCursor;
  }
}

// Windows open cascading down and to the right of each other.
QPoint CascadePosition() {
  const int step = 28;
  const int n = static_cast<int>(NotebookWindows().size()) % 8;
  return QPoint(60 + n * step, 40 + n * step);
}

// The selection's highlight: a caret line, or the selected area tinted.
const QColor kSelectionTint(51, 128, 230, 80);
const QColor kInactiveTint(128, 128, 128, 60);

}  // namespace

// ---------------------------------------------------------------------------
// The pane.

NotebookPane::NotebookPane(Handle root, QWidget* parent)
    : QAbstractScrollArea(parent), root_(root), port_(ResolutionOfScreen()) {
  setObjectName("notebookPane");
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled, true);
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent, true);
  setFrameShape(QFrame::NoFrame);
  view_ = OpenNotebookView(root_);
  NotebookStyle& style = NotebookRecordOf(root_).style;
  InstallFontSettings(style);
  env_ = std::make_unique<LayoutEnv>(port_, style);
  InvalidateTree(root_);
}

NotebookPane::~NotebookPane() {
  Detach();
}

void NotebookPane::Detach() {
  if (DisplayLayoutEnv() == env_.get()) SetDisplayLayoutEnv(nullptr);
  if (view_) CloseNotebookView(view_);
  view_ = nullptr;
  root_ = nullptr;
  tracking_ = false;
  viewport()->update();
}

int32_t NotebookPane::ResolutionOfScreen() const {
  // Fonts follow the desktop's logical resolution; Qt turns logical pixels
  // into device pixels on HiDPI screens.
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
  return std::clamp(static_cast<int32_t>(dpi + 0.5), 48, 600);
}

void NotebookPane::RebuildLayout() {
  if (!root_) return;
  NotebookStyle& style = NotebookRecordOf(root_).style;
  InstallFontSettings(style);
  const bool wasDisplay = DisplayLayoutEnv() == env_.get();
  if (wasDisplay) SetDisplayLayoutEnv(nullptr);
  env_ = std::make_unique<LayoutEnv>(port_, style);
  InvalidateAll(root_);
  if (wasDisplay) SetDisplayLayoutEnv(env_.get());
  Refresh();
}

void NotebookPane::EnsureLayout() {
  if (!root_) return;
  if (!HasFlag(root_, kFlagSizeValid)) LayOutNotebook(root_, *env_);
  const Rect box = Hdr(root_).box;
  if (!(box == content_)) {
    content_ = box;
    UpdateScrollBars();
  }
}

void NotebookPane::Refresh() {
  caretOn_ = true;
  EnsureLayout();
  viewport()->update();
}

void NotebookPane::InvalidateContent(const Rect& area) {
  caretOn_ = true;
  const QPoint topLeft = ViewportPoint(Point{area.left, area.top});
  // Antialiased edges reach a pixel beyond the area.
  viewport()->update(QRect(topLeft, QSize(area.Width(), area.Height())).adjusted(-2, -2, 2, 2));
}

void NotebookPane::UpdateScrollBars() {
  const QSize visible = viewport()->size();
  const int width = content_.right + 2 * kMargin;
  const int height = content_.bottom + 2 * kMargin;
  const int line = std::max(env_->metrics().size[kLevelMain], 8);
  horizontalScrollBar()->setRange(0, std::max(0, width - visible.width()));
  horizontalScrollBar()->setPageStep(visible.width());
  horizontalScrollBar()->setSingleStep(line);
  verticalScrollBar()->setRange(0, std::max(0, height - visible.height()));
  verticalScrollBar()->setPageStep(visible.height());
  verticalScrollBar()->setSingleStep(line * 2);
}

Point NotebookPane::ContentPoint(QPoint viewportPoint) const {
  return Point{viewportPoint.x() + horizontalScrollBar()->value() - kMargin,
               viewportPoint.y() + verticalScrollBar()->value() - kMargin};
}

QPoint NotebookPane::ViewportPoint(Point contentPoint) const {
  return QPoint(contentPoint.x - horizontalScrollBar()->value() + kMargin,
                contentPoint.y - verticalScrollBar()->value() + kMargin);
}

void NotebookPane::ScrollIntoView(const Selection& selection) {
  if (!selection.obj || !root_) return;
  EnsureLayout();
  const HighlightShape shape = SelectionHighlight(*env_, selection);
  if (!shape.shown) return;
  const QRect area = ToQRect(shape.rect).translated(kMargin, kMargin);
  const QSize visible = viewport()->size();
  QScrollBar* h = horizontalScrollBar();
  QScrollBar* v = verticalScrollBar();
  if (area.left() < h->value()) h->setValue(area.left() - kMargin);
  if (area.right() > h->value() + visible.width())
    h->setValue(area.right() - visible.width() + kMargin);
  if (area.top() < v->value()) v->setValue(area.top() - kMargin);
  if (area.bottom() > v->value() + visible.height())
    v->setValue(area.bottom() - visible.height() + kMargin);
}

void NotebookPane::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void NotebookPane::scrollContentsBy(int, int) {
  cursorArea_ = Rect{};
  viewport()->update();
}

// --- Painting ---

void NotebookPane::paintEvent(QPaintEvent* event) {
  Desktop* desktop = Desktop::Instance();
  if (desktop) desktop->SetPainting(true);
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = viewport()->size() * ratio;
  if (frame_.size() != pixels || frame_.devicePixelRatio() != ratio) {
    frame_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    frame_.setDevicePixelRatio(ratio);
    frame_.fill(Qt::white);
  }
  const QRect area = event->rect();
  RunEntry(
      [&] {
        EnsureLayout();
        PaintFrame(area);
      },
      AlertLater);
  QPainter painter(viewport());
  painter.drawImage(
      QRectF(area), frame_,
      QRectF(area.left() * ratio, area.top() * ratio, area.width() * ratio, area.height() * ratio));
  if (desktop) desktop->SetPainting(false);
}

void NotebookPane::PaintFrame(const QRect& viewportArea) {
  QPainter painter(&frame_);
  painter.fillRect(viewportArea, Qt::white);
  const int dx = kMargin - horizontalScrollBar()->value();
  const int dy = kMargin - verticalScrollBar()->value();
  painter.translate(dx, dy);
  const QRect area = viewportArea.translated(-dx, -dy);
  const Rect clip{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
  port_.Begin(&painter, &frame_, clip);
  port_.setColors(kBlack, kWhite);
  if (root_) DrawNotebook(root_, *env_, port_, clip, Point{0, 0});
  port_.End();
  DrawSelections(painter);
}

Rect NotebookPane::PictureArea(const Selection& selection) {
  if (!root_ || !selection.obj) return Rect{};
  EnsureLayout();
  const HighlightShape shape = SelectionHighlight(*env_, selection);
  if (!shape.shown) return Rect{};
  // A caret covers no area: the picture is of the object it is in.
  Rect area = shape.caret ? AbsoluteBox(selection.obj) : shape.rect;
  if (area.Width() <= 0 || area.Height() <= 0) return Rect{};
  return area;
}

void NotebookPane::DrawPicture(QPainter& painter, QImage* device, const Rect& area) {
  if (!root_) return;
  EnsureLayout();
  painter.save();
  painter.translate(-area.left, -area.top);
  ScreenPort port(port_.resolution());
  port.Begin(&painter, device, area);
  port.setColors(kBlack, kWhite);
  DrawNotebook(root_, *env_, port, area, Point{0, 0});
  port.End();
  painter.restore();
}

void NotebookPane::DrawSelections(QPainter& painter) {
  if (!view_) return;
  const bool front = FrontView() == view_;
  for (const Selection& record : view_->selections) {
    if (!record.obj) continue;
    const HighlightShape shape = SelectionHighlight(*env_, record);
    if (!shape.shown) continue;
    QRect rect = ToQRect(shape.rect);
    if (shape.caret) {
      if (!front || !caretOn_) continue;
      if (rect.width() < 1) rect.setWidth(1);
      if (rect.height() < 1) rect.setHeight(1);
      painter.fillRect(rect, Qt::black);
    } else if (const CommentEditing* editing = EditedComment();
               front && editing && editing->comment == record.obj) {
      // Selected comment text is tinted line by line, not as one box.
      for (const Rect& line : CommentEditingShape(*env_).selection)
        painter.fillRect(ToQRect(line), kSelectionTint);
    } else {
      painter.fillRect(rect, front ? kSelectionTint : kInactiveTint);
    }
  }
}

// --- Mouse ---

void NotebookPane::Gesture(Point current, bool start, bool doubleClick, bool extend) {
  if (!root_) return;
  if (auto* window = dynamic_cast<NotebookWindow*>(this->window())) {
    if (WindowList::Front() != window) WindowList::Activate(window);
  }
  if (FrontView() != view_) SetFrontView(view_);
  EnsureLayout();
  if (start) {
    gesture_ = ClickGesture{current, current, doubleClick};
    extend_ = extend;
    beforeGesture_ = extend_ ? CopySelectionList() : std::vector<Selection>{};
    ClearSelection();
  } else {
    gesture_.current = current;
  }
  Selection chosen;
  const bool took = ClickSelect(root_, *env_, Point{0, 0}, gesture_, chosen);
  RestoreSelectionList(beforeGesture_);
  if (took && chosen.obj) Select(chosen.obj, chosen.position);
  view_->dragSelect = !(gesture_.press == gesture_.current);
  caretOn_ = true;
  viewport()->update();
}

void NotebookPane::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  SetCurrentModifiers(KeyModifiers{event->modifiers().testFlag(Qt::ShiftModifier),
                                   event->modifiers().testFlag(Qt::ControlModifier),
                                   event->modifiers().testFlag(Qt::AltModifier), false});
  tracking_ = true;
  // While the button is held the busy flag keeps the interrupt check from
  // cutting the gesture short.
  SetBusyFlag(true);
  const Point point = ContentPoint(event->position().toPoint());
  RunCommand([&] { Gesture(point, true, false, event->modifiers().testFlag(Qt::ShiftModifier)); });
}

void NotebookPane::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  tracking_ = true;
  SetBusyFlag(true);
  const Point point = ContentPoint(event->position().toPoint());
  RunCommand([&] { Gesture(point, true, true, event->modifiers().testFlag(Qt::ShiftModifier)); });
}

void NotebookPane::mouseMoveEvent(QMouseEvent* event) {
  const QPoint position = event->position().toPoint();
  if (tracking_ && (event->buttons() & Qt::LeftButton)) {
    const Point point = ContentPoint(position);
    if (point == gesture_.current) return;
    RunCommand([&] { Gesture(point, false, gesture_.doubleClick, extend_); });
    return;
  }
  UpdateCursor(position);
}

void NotebookPane::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !tracking_) return;
  tracking_ = false;
  SetBusyFlag(false);
  cursorArea_ = Rect{};
  UpdateCursor(event->position().toPoint());
}

void NotebookPane::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  if (tracking_) {
    tracking_ = false;
    SetBusyFlag(false);
  }
}

void NotebookPane::UpdateCursor(QPoint viewportPoint) {
  if (!root_) return;
  const Point point = ContentPoint(viewportPoint);
  if (cursorArea_.Contains(point)) return;
  RunEntry([&] {
    EnsureLayout();
    const Point topLeft = ContentPoint(QPoint(0, 0));
    const Rect window{topLeft.x, topLeft.y, topLeft.x + viewport()->width(),
                      topLeft.y + viewport()->height()};
    const CursorInfo info = PointerHelp(env_.get(), root_, Point{0, 0}, point, window);
    viewport()->setCursor(ShapeOf(info.cursorKind));
    cursorArea_ = info.sensitive;
  });
}

TipAnswer NotebookPane::TipQuery(QPoint globalPoint) {
  TipAnswer answer;
  const QPoint local = viewport()->mapFromGlobal(globalPoint);
  if (!root_ || !viewport()->rect().contains(local)) return answer;
  const Point point = ContentPoint(local);
  RunEntry([&] {
    EnsureLayout();
    const Point topLeft = ContentPoint(QPoint(0, 0));
    const Rect window{topLeft.x, topLeft.y, topLeft.x + viewport()->width(),
                      topLeft.y + viewport()->height()};
    const CursorInfo info = PointerHelp(env_.get(), root_, Point{0, 0}, point, window);
    Rect hot = info.sensitive;
    if (hot.Width() <= 0 || hot.Height() <= 0)
      hot = Rect{point.x, point.y, point.x + 1, point.y + 1};
    const QPoint corner = viewport()->mapToGlobal(ViewportPoint(Point{hot.left, hot.top}));
    answer.hotRect = QRect(corner, QSize(hot.Width(), hot.Height()));
    if (info.helpId != 0) {
      if (const char* text = StringById(info.helpId)) {
        answer.text = QString::fromStdString(ProgramTextToUtf8(text));
      }
    }
  });
  return answer;
}

// --- Idle work ---

void NotebookPane::Idle() {
  // The caret blinks: the idle pass comes here once per blink interval.
  bool caret = false;
  if (view_ && FrontView() == view_) {
    for (const Selection& record : view_->selections) {
      if (!record.obj) continue;
      const HighlightShape shape = SelectionHighlight(*env_, record);
      if (shape.shown && shape.caret) {
        caret = true;
        InvalidateContent(shape.rect);
      }
    }
  }
  caretOn_ = caret ? !caretOn_ : true;
  if (root_) NotebookIdle(root_);
}

QVariant NotebookPane::inputMethodQuery(Qt::InputMethodQuery query) const {
  if (query == Qt::ImEnabled) return true;
  if (query == Qt::ImCursorRectangle) return QRect(kMargin, kMargin, 1, 16);
  return QAbstractScrollArea::inputMethodQuery(query);
}

// ---------------------------------------------------------------------------
// The window.

NotebookWindow::NotebookWindow(NotebookFile& file)
    : AppWindow(Kind::kDocument), file_(&file), root_(file.root) {
  setObjectName("notebookWindow");
  setAttribute(Qt::WA_DeleteOnClose, false);
  setMenuBar(MenuBarMirror::Instance().BuildMenuBar(this));
  pane_ = new NotebookPane(root_, this);
  setCentralWidget(pane_);
  resize(760, 560);
  move(CascadePosition());
  printHeader_ = StringById(kStrDefaultPrintHeader) ? StringById(kStrDefaultPrintHeader) : "";
  WindowList::Link(this);
  AddWindowsMenuEntry(DisplayFileName(file).toStdString(), this);
  UpdateTitle();
  ApplyInitialMenuStates();
  CheckMenuCommand(kMenuPalette, Desktop::Instance() && Desktop::Instance()->PaletteShown());
}

NotebookWindow::~NotebookWindow() {
  WindowList::Unlink(this);
  RunEntry([&] {
    RemoveWindowsMenuEntry(this);
    // A window that goes while its file is still open (the program is
    // shutting down) closes the file with it.
    if (NotebookFile* file = file_) {
      ReleaseFile();
      CloseNotebookFile(*file);
    }
  });
}

void NotebookWindow::ReleaseFile() {
  if (!file_) return;
  --file_->windows;
  file_ = nullptr;
  if (pane_) pane_->Detach();
  if (CurrentNotebook() == root_) SetCurrentNotebook(nullptr);
  root_ = nullptr;
}

void NotebookWindow::UpdateTitle() {
  if (!file_) return;
  shownPath_ = file_->path;
  setWindowTitle(DisplayFileName(*file_));
  RenameWindowsMenuEntry(this, DisplayFileName(*file_).toStdString());
}

WindowPlacement NotebookWindow::Placement() const {
  WindowPlacement placement;
  const QRect frame = geometry();
  placement.top = frame.top();
  placement.left = frame.left();
  placement.height = frame.height();
  placement.width = frame.width();
  placement.verticalScroll = pane_->verticalScrollBar()->value();
  placement.verticalExtent = root_ ? std::max(1, Hdr(root_).box.Height()) : 1;
  placement.horizontalScroll = pane_->horizontalScrollBar()->value();
  placement.horizontalExtent = root_ ? std::max(1, Hdr(root_).box.Width()) : 1;
  return placement;
}

void NotebookWindow::KeepPlacement() {
  if (file_ && isVisible() && !isMinimized()) file_->window = Placement();
}

void NotebookWindow::Place(const WindowPlacement& placement) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  const QRect wanted(placement.left, placement.top, placement.width, placement.height);
  // Windows too small to work in, or off the screen, keep the usual place.
  if (wanted.width() >= 240 && wanted.height() >= 160 && available.intersects(wanted)) {
    setGeometry(wanted.intersected(available));
  }
  pane_->Refresh();
  pane_->verticalScrollBar()->setValue(placement.verticalScroll);
  pane_->horizontalScrollBar()->setValue(placement.horizontalScroll);
}

bool NotebookWindow::MayClose() {
  if (!file_) return true;
  if (FrontView() == pane_->View()) CommitPendingEdits();
  KeepPlacement();
  Desktop* desktop = Desktop::Instance();
  const bool emergency = desktop && desktop->Emergency();
  // The save question; a save that fails keeps the window open, so that
  // nothing is lost.
  const bool may = MayCloseNotebookFile(*file_, emergency);
  UpdateTitle();
  if (!may) return false;
  NotebookFile* file = file_;
  const bool lastWindow = file->windows <= 1;
  ReleaseFile();
  if (lastWindow) CloseNotebookFile(*file);
  return true;
}

void NotebookWindow::Activate() {
  if (!root_) return;
  SetFrontView(pane_->View());
  NotebookRecord& record = NotebookRecordOf(root_);
  InstallFontSettings(record.style);
  SetDisplayLayoutEnv(&pane_->Env());
  RefreshMenus();
  MarkFrontWindowsMenuEntry(this);
  if (Desktop* desktop = Desktop::Instance()) {
    desktop->ShowPalette(record.prefs.paletteShown != 0);
  }
  pane_->setFocus(Qt::ActiveWindowFocusReason);
  pane_->viewport()->update();
}

void NotebookWindow::Deactivate() {
  pane_->viewport()->update();
}

void NotebookWindow::Idle() {
  pane_->Idle();
}

void NotebookWindow::Periodic() {
  if (!file_) return;
  // Save as and the emergency rename change the file's name.
  if (file_->path != shownPath_) UpdateTitle();
  AutoSaveNotebookFile(*file_);
}

bool NotebookWindow::Key(KeystrokeCode code) {
  if (!root_) return false;
  CommandScope command;
  return PerformKeystroke(code);
}

TipAnswer NotebookWindow::TipQuery(QPoint globalPoint) {
  return pane_->TipQuery(globalPoint);
}

void NotebookWindow::closeEvent(QCloseEvent* event) {
  // The window goes through the close request, which asks about saving and
  // deletes it when it may close.
  event->ignore();
  if (!WindowList::Contains(this)) return;
  RunCommand([&] { WindowList::CloseRequest(this); });
}

void NotebookWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && WindowList::Contains(this)) {
    RunEntry([&] { StateChanged(); });
    return;
  }
  if (event->type() != QEvent::ActivationChange || !WindowList::Contains(this)) return;
  if (isActiveWindow()) {
    RunEntry([&] { WindowList::Activate(this); });
    return;
  }
  // Activation went to another program: no window is in front meanwhile,
  // unless a box or the tick is busy with us.
  Desktop* desktop = Desktop::Instance();
  if (!QApplication::activeWindow() && !ModalIsUp() && !(desktop && desktop->TickRunning())) {
    RunEntry([] { WindowList::DeactivateFront(); });
  }
}

void NotebookWindow::StateChanged() {
  Desktop* desktop = Desktop::Instance();
  if (!desktop || !desktop->Palette()) return;
  if (!isMinimized()) {
    // Back from the task bar: the palette comes back as the notebook has it.
    if (root_ && NotebookRecordOf(root_).prefs.paletteShown) desktop->Palette()->show();
    return;
  }
  // With every notebook window minimized the palette goes out of the way
  // too; otherwise a remaining window takes the front.
  NotebookWindow* remaining = nullptr;
  for (NotebookWindow* window : NotebookWindows()) {
    if (window != this && window->isVisible() && !window->isMinimized()) remaining = window;
  }
  if (!remaining) {
    desktop->Palette()->hide();
  } else if (!WindowList::Front() && QApplication::activeWindow()) {
    WindowList::Activate(remaining);
  }
}

void NotebookWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  NoteShown();
}

void NotebookWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  KeepPlacement();
}

void NotebookWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  KeepPlacement();
}

}  // namespace lemmabox
