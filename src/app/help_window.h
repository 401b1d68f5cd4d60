// The help window: the HTML pages of docs/help, found like any support file
// (help/index.html), shown in a browser window with a search field.
#pragma once

#include <QString>
#include <QWidget>

#include "app/app_window.h"

class QLineEdit;
class QTextBrowser;

namespace lemmabox {

class HelpWindow : public QWidget, public AppWindow {
  Q_OBJECT

 public:
  // The one help window, made on first use.
  static HelpWindow* Open();
  // Shows the contents; with `search`, puts the keyboard in the search field.
  static void ShowContents(bool search = false);
  // Shows a page of the help ("typing.html"), optionally at an anchor.
  static void ShowPage(const QString& page);

  ~HelpWindow() override;
  QWidget* Widget() override { return this; }

  QTextBrowser* Browser() const { return browser_; }
  // The directory the pages come from ("" when the help is not installed).
  static QString HelpDirectory();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  HelpWindow();
  void Find(bool backwards);

  QTextBrowser* browser_;
  QLineEdit* search_;
};

}  // namespace lemmabox
