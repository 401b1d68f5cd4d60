// The floating palette: buttons for the templates, operators, Greek letters
// and symbols, and the manipulations. Each button sends its command code
// through PerformCommandCode, exactly as the key bound to it would; its tip
// says what it inserts or does.
//
// The palette is a tool window that never takes the keyboard focus, so the
// notebook in front keeps the caret while buttons are clicked.
#pragma once

#include <QWidget>
#include <vector>

#include "app/app_window.h"
#include "shell/command_codes.h"

class QAbstractButton;

namespace lemmabox {

struct PaletteEntry {
  CommandCode code;
  // How the button's face is drawn: a small markup of the math it inserts
  // ('#' an empty place, '^' and '_' raise or lower the next piece, {XX} the
  // Symbol font's character XX, "frac", "sqrt", "matrix RxC"), or plain words.
  const char* face;
  const char* tip;
};

struct PaletteGroup {
  const char* title;
  int columns;
  std::vector<PaletteEntry> entries;
};

// The palette's groups, in order.
const std::vector<PaletteGroup>& PaletteGroups();

class PaletteWindow : public QWidget, public AppWindow {
  Q_OBJECT

 public:
  PaletteWindow();
  ~PaletteWindow() override;

  QWidget* Widget() override { return this; }
  TipAnswer TipQuery(QPoint globalPoint) override;

  // The button that sends a code (tests click it).
  QAbstractButton* ButtonFor(CommandCode code) const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  struct Button {
    QAbstractButton* button;
    const PaletteEntry* entry;
  };
  std::vector<Button> buttons_;
};

}  // namespace lemmabox
