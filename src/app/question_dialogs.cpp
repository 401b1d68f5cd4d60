#include "app/question_dialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "ports/font_metrics.h"
#include "shell/alerts.h"
#include "shell/string_cache.h"

namespace lemmabox {
namespace {

QWidget* DialogParent() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

QDialogButtonBox* OkCancel(QDialog& dialog, const QString& okText = QString()) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  if (!okText.isEmpty()) buttons->button(QDialogButtonBox::Ok)->setText(okText);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return buttons;
}

}  // namespace

ModalOwnerScope::ModalOwnerScope(const void* owner) : saved_(ModalOwner()) {
  SetModalOwner(owner);
}

ModalOwnerScope::~ModalOwnerScope() {
  SetModalOwner(saved_);
}

int ExecDialog(QDialog& dialog) {
  ModalOwnerScope owner(&dialog);
  dialog.setWindowModality(Qt::ApplicationModal);
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int result = dialog.exec();
  QApplication::restoreOverrideCursor();
  return result;
}

int RunNameClassDialog(const NameClassQuestion& question) {
  QDialog dialog(DialogParent());
  dialog.setObjectName("declareName");
  dialog.setWindowTitle(QObject::tr("Declare Name"));
  auto* layout = new QVBoxLayout(&dialog);
  const QString name = QString::fromStdString(question.name);
  QString text = QObject::tr("\u201C%1\u201D has no declaration yet.").arg(name);
  if (question.builtIn) {
    text += " " + QObject::tr("It is spelled like a predefined name.");
  }
  text += "\n" + QObject::tr("What kind of name is it?");
  auto* prompt = new QLabel(text, &dialog);
  prompt->setTextFormat(Qt::PlainText);
  layout->addWidget(prompt);

  auto* group = new QButtonGroup(&dialog);
  const struct {
    int nameClass;
    const char* label;
    const char* object;
  } kChoices[] = {
      {kClassConstant, "Constant", "classConstant"},
      {kClassVariable, "Variable", "classVariable"},
      {kClassFunction, "Function", "classFunction"},
  };
  for (const auto& choice : kChoices) {
    auto* button = new QRadioButton(QObject::tr(choice.label), &dialog);
    button->setObjectName(choice.object);
    group->addButton(button, choice.nameClass);
    layout->addWidget(button);
  }
  QAbstractButton* chosen = group->button(question.defaultClass);
  (chosen ? chosen : group->button(kClassVariable))->setChecked(true);
  layout->addWidget(OkCancel(dialog, QObject::tr("Declare")));
  if (ExecDialog(dialog) != QDialog::Accepted) return 0;
  return group->checkedId();
}

int RunListChoiceDialog(const std::string& prompt, const std::vector<std::string>& items,
                        int perPage) {
  QDialog dialog(DialogParent());
  dialog.setObjectName("chooseFromList");
  dialog.setWindowTitle(QString::fromUtf8(ProgramName()));
  auto* layout = new QVBoxLayout(&dialog);
  auto* label = new QLabel(QString::fromStdString(prompt), &dialog);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  layout->addWidget(label);
  auto* list = new QListWidget(&dialog);
  list->setObjectName("choices");
  for (const std::string& item : items) list->addItem(QString::fromStdString(item));
  list->setCurrentRow(0);
  // Room for a page of items; the rest scroll.
  const int rows = std::max(1, std::min<int>(perPage > 0 ? perPage : 8, int(items.size())));
  list->setMinimumHeight(list->sizeHintForRow(0) * rows + 2 * list->frameWidth() + 4);
  layout->addWidget(list);
  QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
  layout->addWidget(OkCancel(dialog));
  if (ExecDialog(dialog) != QDialog::Accepted) return -1;
  return list->currentRow();
}

bool RunInsertIndexDialog(InsertIndexSettings& settings) {
  QDialog dialog(DialogParent());
  dialog.setObjectName("insertIndex");
  dialog.setWindowTitle(QObject::tr("Insert Index"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* group = new QButtonGroup(&dialog);
  int choice = 1;
  for (const char* label : kInsertIndexChoices) {
    auto* button = new QRadioButton(QObject::tr(label), &dialog);
    button->setObjectName(QString("numbering%1").arg(choice));
    group->addButton(button, choice);
    layout->addWidget(button);
    ++choice;
  }
  QAbstractButton* opened = group->button(settings.choice);
  (opened ? opened : group->button(1))->setChecked(true);
  auto* form = new QFormLayout;
  auto* offset = new QSpinBox(&dialog);
  offset->setObjectName("offset");
  offset->setRange(-30000, 30000);
  offset->setValue(settings.offset);
  form->addRow(QObject::tr("Top Left element gets:"), offset);
  layout->addLayout(form);
  layout->addWidget(OkCancel(dialog));
  if (ExecDialog(dialog) != QDialog::Accepted) return false;
  settings.choice = group->checkedId();
  settings.offset = offset->value();
  return true;
}

BigExpandReply RunBigExpandDialog(const BigExpandQuestion& question) {
  QDialog dialog(DialogParent());
  dialog.setObjectName("bigExpand");
  dialog.setWindowTitle(QString::fromStdString(question.caption));
  auto* layout = new QVBoxLayout(&dialog);
  auto* text = new QLabel(QString::fromStdString(question.text), &dialog);
  text->setWordWrap(true);
  text->setTextFormat(Qt::PlainText);
  layout->addWidget(text);
  if (!question.expression.empty()) {
    auto* expression = new QLabel(QString::fromStdString(question.expression), &dialog);
    expression->setObjectName("expression");
    expression->setTextFormat(Qt::PlainText);
    expression->setWordWrap(true);
    expression->setTextInteractionFlags(Qt::TextSelectableByMouse);
    expression->setStyleSheet("font-family: monospace; padding: 4px;");
    layout->addWidget(expression);
  }
  auto* dontAsk = new QCheckBox(QString::fromStdString(question.dontAskAgain), &dialog);
  dontAsk->setObjectName("dontAskAgain");
  if (!question.dontAskAgain.empty()) layout->addWidget(dontAsk);
  auto* buttons = new QDialogButtonBox(&dialog);
  int answer = 0;
  auto add = [&](const std::string& label, int value, QDialogButtonBox::ButtonRole role) {
    if (label.empty()) return;
    QPushButton* button = buttons->addButton(QString::fromStdString(label), role);
    button->setObjectName(QStringLiteral("answer%1").arg(value));
    QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, &answer, value] {
      answer = value;
      dialog.accept();
    });
  };
  add(question.yes, 1, QDialogButtonBox::AcceptRole);
  add(question.numerically, 2, QDialogButtonBox::ActionRole);
  add(question.no, 0, QDialogButtonBox::RejectRole);
  // The safe answer is the default.
  if (auto* no = buttons->findChild<QPushButton*>("answer0")) no->setDefault(true);
  layout->addWidget(buttons);
  BigExpandReply reply;
  if (ExecDialog(dialog) != QDialog::Accepted) return reply;
  reply.answer = answer;
  reply.dontAskAgain = dontAsk->isChecked();
  return reply;
}

std::string RunFileChooser(const FileChooserRequest& request) {
  QStringList filters;
  for (const std::string& filter : request.filters) filters << QString::fromStdString(filter);
  QFileDialog dialog(DialogParent(), QString::fromStdString(request.title),
                     QString::fromStdString(request.directory));
  dialog.setObjectName(request.save ? "saveFile" : "openFile");
  dialog.setNameFilters(filters);
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!request.suggestedName.empty())
    dialog.selectFile(QString::fromStdString(request.suggestedName));
  if (ExecDialog(dialog) != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return {};
  return QDir::cleanPath(chosen.front()).toStdString();
}

std::optional<ColorChoice> RunColorChooser(const std::string& prompt, ColorChoice initial) {
  QColorDialog dialog(QColor(initial.red, initial.green, initial.blue), DialogParent());
  dialog.setObjectName("colorChooser");
  dialog.setWindowTitle(QString::fromStdString(prompt));
  if (ExecDialog(dialog) != QDialog::Accepted) return std::nullopt;
  const QColor chosen = dialog.selectedColor();
  return ColorChoice{static_cast<uint8_t>(chosen.red()), static_cast<uint8_t>(chosen.green()),
                     static_cast<uint8_t>(chosen.blue())};
}

std::optional<FontChoice> RunCommentFontDialog(const FontChoice& initial) {
  QDialog dialog(DialogParent());
  dialog.setObjectName("commentFont");
  dialog.setWindowTitle(QObject::tr("Comment Font"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* form = new QFormLayout;
  // The families whose metrics the program has, so the screen and the
  // printed page measure the same text.
  auto* family = new QComboBox(&dialog);
  family->setObjectName("family");
  for (const std::string& name : FontFamilyNames()) family->addItem(QString::fromStdString(name));
  const int current = family->findText(QString::fromStdString(initial.family));
  if (current >= 0) family->setCurrentIndex(current);
  auto* points = new QSpinBox(&dialog);
  points->setObjectName("points");
  points->setRange(4, 127);
  points->setValue(initial.points);
  form->addRow(QObject::tr("Font:"), family);
  form->addRow(QObject::tr("Size:"), points);
  layout->addLayout(form);
  layout->addWidget(OkCancel(dialog));
  if (ExecDialog(dialog) != QDialog::Accepted || family->currentIndex() < 0) return std::nullopt;
  return FontChoice{family->currentText().toStdString(), points->value()};
}

}  // namespace lemmabox
