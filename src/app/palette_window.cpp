#include "app/palette_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/desktop.h"
#include "app/entry_guard.h"
#include "app/screen_port.h"
#include "ports/font_metrics.h"
#include "shell/charset.h"
#include "shell/commands.h"

namespace lemmabox {
namespace {

constexpr int kFaceWidth = 38;
constexpr int kSmallFace = 22;
constexpr int kFaceHeight = 28;
constexpr int kMainPixels = 15;
constexpr int kScriptPixels = 10;

CommandCode Typed(char c) {
  return kCmdTemplateTypedCharBase + static_cast<uint8_t>(c);
}
CommandCode Sym(uint8_t code) {
  return SymbolCharCommand(code);
}

// --- Faces ------------------------------------------------------------------
//
// Faces are drawn through the screen port with the notebook's own fonts, so
// a button shows the template as the notebook will.

PortFont FaceFont(bool symbol, int pixels, bool italic) {
  return PortFont{symbol ? "Symbol" : "Times", pixels, false, italic};
}

// An empty place of a template, as a question mark's box.
qreal PlaceBox(QPainter& p, QPointF baseline, int pixels) {
  const qreal side = pixels * 0.55;
  const QRectF box(baseline.x() + 1, baseline.y() - side, side, side);
  p.save();
  p.setPen(QPen(QColor(90, 90, 90), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(box);
  p.restore();
  return side + 3;
}

struct Piece {
  std::string bytes;  // "#" for an empty place
  bool symbol = false;
  int shift = 0;  // -1 lowered, +1 raised
};

std::vector<Piece> ParseFace(const char* face) {
  std::vector<Piece> pieces;
  int shift = 0;
  for (const char* c = face; *c; ++c) {
    if (*c == '^' || *c == '_') {
      shift = *c == '^' ? 1 : -1;
      continue;
    }
    Piece piece;
    piece.shift = shift;
    shift = 0;
    if (*c == '{') {
      const char* end = c + 1;
      while (*end && *end != '}') ++end;
      piece.bytes = std::string(
          1, static_cast<char>(std::strtol(std::string(c + 1, end).c_str(), nullptr, 16)));
      piece.symbol = true;
      c = *end ? end : end - 1;
    } else {
      piece.bytes = std::string(1, *c);
    }
    // Words run together ("lim").
    if (!piece.symbol && std::isalpha(static_cast<unsigned char>(*c)) && !pieces.empty() &&
        !pieces.back().symbol && pieces.back().shift == piece.shift &&
        std::isalpha(static_cast<unsigned char>(pieces.back().bytes.back()))) {
      pieces.back().bytes += *c;
      continue;
    }
    pieces.push_back(piece);
  }
  return pieces;
}

qreal PieceWidth(const Piece& piece, int pixels) {
  if (piece.bytes == "#") return pixels * 0.55 + 3;
  const bool italic = !piece.symbol && std::isalpha(static_cast<unsigned char>(piece.bytes[0]));
  return TextWidth(piece.bytes, FaceFont(piece.symbol, pixels, italic && piece.bytes.size() == 1)) +
         (italic ? 1 : 0);
}

void DrawMarkup(QPainter& p, ScreenPort& port, const char* face, const QRectF& area) {
  const std::vector<Piece> pieces = ParseFace(face);
  qreal width = 0;
  for (const Piece& piece : pieces) {
    width += PieceWidth(piece, piece.shift ? kScriptPixels : kMainPixels);
  }
  qreal x = area.center().x() - width / 2;
  const qreal baseline = area.center().y() + kMainPixels * 0.3;
  for (const Piece& piece : pieces) {
    const int pixels = piece.shift ? kScriptPixels : kMainPixels;
    const qreal y = baseline + (piece.shift > 0 ? -7 : piece.shift < 0 ? 4 : 0);
    if (piece.bytes == "#") {
      x += PlaceBox(p, QPointF(x, y), pixels);
      continue;
    }
    const bool italic = !piece.symbol && piece.bytes.size() == 1 &&
                        std::isalpha(static_cast<unsigned char>(piece.bytes[0]));
    port.drawString(piece.bytes, FaceFont(piece.symbol, pixels, italic), int32_t(std::lround(x)),
                    int32_t(std::lround(y)));
    x += PieceWidth(piece, pixels);
  }
}

void DrawFraction(QPainter& p, const QRectF& area) {
  const qreal cx = area.center().x();
  PlaceBox(p, QPointF(cx - 5, area.top() + 11), kScriptPixels + 4);
  p.fillRect(QRectF(cx - 9, area.center().y(), 18, 1.2), Qt::black);
  PlaceBox(p, QPointF(cx - 5, area.bottom() - 3), kScriptPixels + 4);
}

void DrawRoot(QPainter& p, const QRectF& area) {
  const qreal x = area.center().x() - 10;
  const qreal y = area.center().y();
  QPainterPath radical;
  radical.moveTo(x, y + 1);
  radical.lineTo(x + 3, y - 1);
  radical.lineTo(x + 7, y + 8);
  radical.lineTo(x + 12, y - 9);
  radical.lineTo(x + 24, y - 9);
  p.save();
  p.setPen(QPen(Qt::black, 1.3));
  p.drawPath(radical);
  p.restore();
  PlaceBox(p, QPointF(x + 13, y + 6), kMainPixels);
}

void DrawHBar(QPainter& p, ScreenPort& port, const QRectF& area) {
  const int x = int(area.center().x()) - 4;
  const int y = int(area.center().y()) + 5;
  port.drawString("h", FaceFont(false, kMainPixels + 2, true), x, y);
  p.save();
  p.setPen(QPen(Qt::black, 1.1));
  p.drawLine(QPointF(x + 1, y - 8), QPointF(x + 8, y - 10));
  p.restore();
}

void DrawMatrix(QPainter& p, const QRectF& area, int rows, int columns) {
  const qreal cell = 8;
  const qreal width = columns * cell + 6;
  const qreal height = rows * cell + 2;
  const QRectF box(area.center().x() - width / 2, area.center().y() - height / 2, width, height);
  p.save();
  p.setPen(QPen(Qt::black, 1.2));
  p.drawLine(QPointF(box.left() + 2, box.top()), QPointF(box.left(), box.top()));
  p.drawLine(QPointF(box.left(), box.top()), QPointF(box.left(), box.bottom()));
  p.drawLine(QPointF(box.left(), box.bottom()), QPointF(box.left() + 2, box.bottom()));
  p.drawLine(QPointF(box.right() - 2, box.top()), QPointF(box.right(), box.top()));
  p.drawLine(QPointF(box.right(), box.top()), QPointF(box.right(), box.bottom()));
  p.drawLine(QPointF(box.right(), box.bottom()), QPointF(box.right() - 2, box.bottom()));
  p.setPen(QPen(QColor(90, 90, 90), 1.0));
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      p.drawRect(QRectF(box.left() + 3.5 + c * cell, box.top() + 2 + r * cell, 5, 5));
    }
  }
  p.restore();
}

QIcon FaceIcon(const char* face, QSize size, qreal ratio) {
  QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  ScreenPort port(72);
  port.Begin(&p, &image, Rect{0, 0, size.width(), size.height()});
  const QRectF area(QPointF(0, 0), QSizeF(size));
  const QString shape = QString::fromLatin1(face);
  if (shape == "frac") {
    DrawFraction(p, area);
  } else if (shape == "sqrt") {
    DrawRoot(p, area);
  } else if (shape == "hbar") {
    DrawHBar(p, port, area);
  } else if (shape.startsWith("matrix ")) {
    const QStringList dimensions = shape.mid(7).split('x');
    DrawMatrix(p, area, dimensions.value(0).toInt(), dimensions.value(1).toInt());
  } else {
    DrawMarkup(p, port, face, area);
  }
  port.End();
  p.end();
  return QIcon(QPixmap::fromImage(image));
}

bool IsSingleCharacter(const char* face) {
  const std::vector<Piece> pieces = ParseFace(face);
  return std::strcmp(face, "hbar") == 0 ||
         (pieces.size() == 1 && pieces[0].bytes.size() == 1 && pieces[0].bytes != "#");
}

bool IsWordFace(const char* face) {
  // Manipulation buttons carry their name.
  return std::strlen(face) > 3 && std::isupper(static_cast<unsigned char>(face[0])) &&
         std::strchr(face, '#') == nullptr && std::strchr(face, '{') == nullptr;
}

}  // namespace

const std::vector<PaletteGroup>& PaletteGroups() {
  static const std::vector<PaletteGroup> groups = {
      {"Templates",
       6,
       {
           {kCmdTemplatePower, "#^#", "Power: the selection raised to a power"},
           {kCmdTemplateSubscript, "#_#", "Subscript: the selection with an index"},
           {kCmdTemplateQuotient, "frac", "Fraction: the selection over a denominator"},
           {kCmdTemplateSquareRoot, "sqrt", "Square root of the selection"},
           {kCmdTemplateAbsoluteValue, "|#|", "Absolute value of the selection"},
           {kCmdTemplateParentheses, "(#)", "Parentheses around the selection"},
           {kCmdTemplateIndefiniteIntegral, "{F2}#d#", "Integral of the selection"},
           {kCmdTemplateDefiniteIntegral, "{F2}_#^##", "Integral with limits"},
           {kCmdTemplateSummation, "{E5}_#^##", "Summation of the selection"},
           {kCmdTemplateIteratedProduct, "{D5}_#^##", "Product over an index"},
           {kCmdTemplateDerivative, "d/d#", "Derivative of the selection"},
           {kCmdTemplateLimit, "lim_#", "Limit of the selection"},
           {kCmdTemplateEvaluateAt, "#|_#^#", "Evaluate At: the selection between two values"},
           {kCmdTemplateConditional, "{7B}##", "Conditional: a value for each condition"},
           {kCmdTemplateFunctionReference, "f(#)", "Function reference"},
           {MatrixCommand(2, 2), "matrix 2x2", "A 2 by 2 matrix"},
           {MatrixCommand(3, 1), "matrix 3x1", "A column vector of three elements"},
           {MatrixCommand(1, 3), "matrix 1x3", "A row vector of three elements"},
       }},
      {"Operators",
       6,
       {
           {Typed('+'), "#+#", "Sum"},
           {kCmdTemplateDifference, "#{2D}#", "Difference"},
           {kCmdTemplateNegation, "{2D}#", "Negation of the selection"},
           {Typed('*'), "#{D7}#", "Product"},
           {kCmdTemplateDotProduct, "#{B7}#", "Dot product"},
           {kCmdTemplateCrossProduct, "#{B4}#", "Cross product"},
           {Typed('='), "#=#", "Equation"},
           {kCmdTemplateLessOrEqual, "#{A3}#", "Less than or equal"},
           {kCmdTemplateGreaterOrEqual, "#{B3}#", "Greater than or equal"},
           {kCmdTemplateNotEqual, "#{B9}#", "Not equal"},
           {Typed('<'), "#<#", "Less than"},
           {Typed('>'), "#>#", "Greater than"},
           {Typed('!'), "#!", "Factorial"},
           {kCmdTemplateAdjoint, "#^*", "Adjoint"},
       }},
      {"Greek",
       10,
       {
           {Sym('a'), "{61}", "alpha"},   {Sym('b'), "{62}", "beta"},
           {Sym('g'), "{67}", "gamma"},   {Sym('d'), "{64}", "delta"},
           {Sym('e'), "{65}", "epsilon"}, {Sym('z'), "{7A}", "zeta"},
           {Sym('h'), "{68}", "eta"},     {Sym('q'), "{71}", "theta"},
           {Sym('i'), "{69}", "iota"},    {Sym('k'), "{6B}", "kappa"},
           {Sym('l'), "{6C}", "lambda"},  {Sym('m'), "{6D}", "mu"},
           {Sym('n'), "{6E}", "nu"},      {Sym('x'), "{78}", "xi"},
           {Sym('p'), "{70}", "pi"},      {Sym('r'), "{72}", "rho"},
           {Sym('s'), "{73}", "sigma"},   {Sym('t'), "{74}", "tau"},
           {Sym('u'), "{75}", "upsilon"}, {Sym('f'), "{66}", "phi"},
           {Sym('c'), "{63}", "chi"},     {Sym('y'), "{79}", "psi"},
           {Sym('w'), "{77}", "omega"},   {Sym('j'), "{6A}", "phi (variant)"},
           {Sym('G'), "{47}", "Gamma"},   {Sym('D'), "{44}", "Delta"},
           {Sym('Q'), "{51}", "Theta"},   {Sym('L'), "{4C}", "Lambda"},
           {Sym('X'), "{58}", "Xi"},      {Sym('P'), "{50}", "Pi"},
           {Sym('S'), "{53}", "Sigma"},   {Sym('F'), "{46}", "Phi"},
           {Sym('Y'), "{59}", "Psi"},     {Sym('W'), "{57}", "Omega"},
       }},
      {"Symbols",
       10,
       {
           {Sym(0xA5), "{A5}", "Infinity"},
           {Sym(0xB0), "{B0}", "Degrees"},
           {kCmdInsertCapitalEta, "hbar", "h-bar, Planck's constant over 2 pi"},
           {Sym(0xD1), "{D1}", "Nabla"},
           {Sym(0xC0), "{C0}", "Aleph"},
           {Typed('\''), "'", "Prime"},
       }},
      {"Manipulate",
       3,
       {
           {kCmdSimplify, "Simplify", "Simplify the selection (F11)"},
           {kCmdExpand, "Expand", "Expand products and powers (F6)"},
           {kCmdCollect, "Collect", "Collect like terms (F7)"},
           {kCmdFactor, "Factor", "Factor the selection (F8)"},
           {kCmdIsolate, "Isolate", "Isolate the selected term of an equation"},
           {kCmdCalculate, "Calculate", "Calculate a numeric value (F5)"},
           {kCmdApply, "Apply", "Apply an equation to the selection (F10)"},
           {kCmdTransform, "Transform", "Transform by the rules of the notebook (F9)"},
           {kCmdSubstitute, "Substitute", "Substitute one equation into another"},
           {kCmdCommute, "Commute", "Reverse the order of the operands"},
           {kCmdMoveOver, "Move Over", "Move the term to the other side"},
           {kCmdTaylorSeries, "Taylor", "Taylor series of the selection"},
       }},
  };
  return groups;
}

PaletteWindow::PaletteWindow() : AppWindow(Kind::kFloating) {
  setObjectName("palette");
  setWindowTitle(tr("Palette"));
  setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
  setAttribute(Qt::WA_ShowWithoutActivating, true);
  setMouseTracking(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(3);
  const qreal ratio = devicePixelRatioF();
  for (const PaletteGroup& group : PaletteGroups()) {
    auto* title = new QLabel(tr(group.title), this);
    QFont small = title->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    small.setBold(true);
    title->setFont(small);
    layout->addWidget(title);
    auto* grid = new QGridLayout;
    grid->setSpacing(1);
    int index = 0;
    for (const PaletteEntry& entry : group.entries) {
      auto* button = new QToolButton(this);
      button->setFocusPolicy(Qt::NoFocus);
      button->setAutoRaise(false);
      button->setMouseTracking(true);
      button->setObjectName(QString("palette%1").arg(entry.code, 4, 16, QChar('0')));
      if (IsWordFace(entry.face)) {
        button->setText(tr(entry.face));
        button->setMinimumWidth(78);
      } else {
        // A single character gets a small square button.
        const bool single = IsSingleCharacter(entry.face);
        const QSize face = single ? QSize(kSmallFace, kSmallFace) : QSize(kFaceWidth, kFaceHeight);
        button->setIcon(FaceIcon(entry.face, face, ratio));
        button->setIconSize(face);
        button->setFixedSize(face + QSize(4, 4));
      }
      const CommandCode code = entry.code;
      connect(button, &QToolButton::clicked, this,
              [code] { RunCommand([code] { PerformCommandCode(code); }); });
      grid->addWidget(button, index / group.columns, index % group.columns);
      buttons_.push_back(Button{button, &entry});
      ++index;
    }
    layout->addLayout(grid);
  }
  layout->addStretch(1);
  adjustSize();
  WindowList::Link(this);
}

PaletteWindow::~PaletteWindow() {
  WindowList::Unlink(this);
}

QAbstractButton* PaletteWindow::ButtonFor(CommandCode code) const {
  for (const Button& button : buttons_) {
    if (button.entry->code == code) return button.button;
  }
  return nullptr;
}

TipAnswer PaletteWindow::TipQuery(QPoint globalPoint) {
  TipAnswer answer;
  for (const Button& button : buttons_) {
    const QRect area(button.button->mapToGlobal(QPoint(0, 0)), button.button->size());
    if (area.contains(globalPoint)) {
      answer.hotRect = area;
      answer.text = tr(button.entry->tip);
      return answer;
    }
  }
  answer.hotRect = QRect(globalPoint, QSize(1, 1));
  return answer;
}

void PaletteWindow::closeEvent(QCloseEvent* event) {
  // Closing the palette is the same as turning it off in the menu.
  event->ignore();
  RunCommand([] {
    if (Desktop* desktop = Desktop::Instance()) desktop->ShowPalette(false);
  });
}

void PaletteWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  NoteShown();
}

}  // namespace lemmabox
