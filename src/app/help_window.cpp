#include "app/help_window.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/entry_guard.h"
#include "shell/app_paths.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

QPointer<HelpWindow> gHelp;

}  // namespace

QString HelpWindow::HelpDirectory() {
  // The pages sit in the source tree's docs/ when run from a build, else
  // beside the program's support files.
  if (std::optional<std::string> index = FindSupportFile(kHelpFileName)) {
    return QFileInfo(QString::fromStdString(*index)).absolutePath();
  }
  const char* source = std::getenv("LEMMABOX_SOURCE_DIR");
  const QString candidates[] = {
      source ? QString::fromUtf8(source) + "/docs/help" : QString(),
      QString::fromStdString(ApplicationPaths().programDirectory) + "../../../docs/help",
      QString::fromStdString(ApplicationPaths().programDirectory) + "../share/lemmabox/help",
      QStringLiteral(LEMMABOX_HELP_DIR),
  };
  for (const QString& directory : candidates) {
    if (!directory.isEmpty() && QFileInfo(directory + "/index.html").isFile()) {
      return QFileInfo(directory).canonicalFilePath();
    }
  }
  return QString();
}

HelpWindow::HelpWindow() : AppWindow(Kind::kPlain) {
  setObjectName("helpWindow");
  setWindowTitle(tr("Lemmabox Help"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  auto* layout = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout;
  auto* back = new QPushButton(tr("Back"), this);
  auto* home = new QPushButton(tr("Contents"), this);
  search_ = new QLineEdit(this);
  search_->setObjectName("helpSearch");
  search_->setPlaceholderText(tr("Search for help on..."));
  bar->addWidget(back);
  bar->addWidget(home);
  bar->addWidget(new QLabel(tr("Find:"), this));
  bar->addWidget(search_, 1);
  layout->addLayout(bar);
  browser_ = new QTextBrowser(this);
  browser_->setObjectName("helpBrowser");
  browser_->setOpenExternalLinks(true);
  layout->addWidget(browser_, 1);
  const QString directory = HelpDirectory();
  browser_->setSearchPaths({directory});
  // The pages' look comes from their style sheet.
  QFile style(directory + "/style.css");
  if (style.open(QIODevice::ReadOnly)) {
    browser_->document()->setDefaultStyleSheet(QString::fromUtf8(style.readAll()));
  }
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(home, &QPushButton::clicked, browser_, &QTextBrowser::home);
  connect(search_, &QLineEdit::returnPressed, this, [this] { Find(false); });
  resize(640, 600);
  WindowList::Link(this);
}

HelpWindow::~HelpWindow() {
  WindowList::Unlink(this);
}

HelpWindow* HelpWindow::Open() {
  if (!gHelp) gHelp = new HelpWindow;
  return gHelp;
}

void HelpWindow::ShowContents(bool search) {
  HelpWindow* help = Open();
  if (HelpDirectory().isEmpty()) Raise(kMsgMissingImportantFile);
  help->browser_->setSource(QUrl("index.html"));
  help->show();
  help->raise();
  help->activateWindow();
  if (search) {
    help->search_->setFocus();
    help->search_->selectAll();
  }
}

void HelpWindow::ShowPage(const QString& page) {
  HelpWindow* help = Open();
  if (HelpDirectory().isEmpty()) Raise(kMsgMissingImportantFile);
  help->browser_->setSource(QUrl(page));
  help->show();
  help->raise();
  help->activateWindow();
}

void HelpWindow::Find(bool backwards) {
  const QString text = search_->text();
  if (text.isEmpty()) return;
  QTextDocument::FindFlags flags;
  if (backwards) flags |= QTextDocument::FindBackward;
  if (!browser_->find(text, flags)) {
    // Wrap around to the top of the page.
    QTextCursor cursor = browser_->textCursor();
    cursor.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
    browser_->setTextCursor(cursor);
    browser_->find(text, flags);
  }
}

void HelpWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  NoteShown();
}

void HelpWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  RunEntry([this] { WindowList::CloseRequest(this); });
}

}  // namespace lemmabox
