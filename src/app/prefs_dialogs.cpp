#include "app/prefs_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cstring>

#include "app/documents.h"
#include "app/notebook_window.h"
#include "app/question_dialogs.h"
#include "core/registration.h"
#include "editor/selection_list.h"
#include "layout/font_dialog.h"
#include "layout/highlight.h"
#include "layout/metrics.h"
#include "layout/pointer_help.h"
#include "mathobj/optables.h"
#include "mathobj/types.h"
#include "notebook/document.h"
#include "notebook/notebook_record.h"
#include "ports/font_metrics.h"
#include "shell/alerts.h"
#include "shell/charset.h"
#include "shell/commands.h"
#include "shell/failure.h"
#include "shell/messages.h"
#include "shell/string_cache.h"

namespace lemmabox {
namespace {

QWidget* DialogParent() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

QDialogButtonBox* OkCancel(QDialog& dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return buttons;
}

// The front notebook's record; null without one (the commands then do nothing).
NotebookRecord* FrontRecord() {
  Handle notebook = CurrentNotebook();
  return notebook ? &NotebookRecordOf(notebook) : nullptr;
}

}  // namespace

const EnterKeyAction kEnterKeyActions[2] = {
    {kCmdNewAssumption, "New Assumption"},
    {kCmdNewComment, "New Comment"},
};

// --- About ---------------------------------------------------------------------

void RunAboutBox() {
  QDialog dialog(DialogParent());
  dialog.setObjectName("about");
  dialog.setWindowTitle(QObject::tr("About %1").arg(QString::fromUtf8(ProgramName())));
  auto* layout = new QVBoxLayout(&dialog);
  auto* name = new QLabel(QString::fromUtf8(ProgramName()), &dialog);
  QFont big("Nimbus Roman");
  big.setPixelSize(32);
  big.setItalic(true);
  name->setFont(big);
  name->setAlignment(Qt::AlignHCenter);
  layout->addWidget(name);
  auto* text = new QLabel(&dialog);
  text->setTextFormat(Qt::PlainText);
  text->setAlignment(Qt::AlignHCenter);
  text->setText(QObject::tr("Version %1\n\n"
                            "A notebook for mathematics: type equations as they look on paper,\n"
                            "declare the names you use, and derive new equations with\n"
                            "manipulations that remember how each conclusion was reached.\n\n"
                            "Text is set in the URW base 35 fonts.\nBuilt with Qt %2.")
                    .arg(QString::fromUtf8(LemmaboxVersion()), QString::fromLatin1(qVersion())));
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  layout->addWidget(buttons);
  ExecDialog(dialog);
}

// --- Get Info ---------------------------------------------------------------------

SelectionInfo InfoAbout(const Selection& selection) {
  if (!selection.obj) Raise(kMsgGetInfoNeedsSelection);
  SelectionInfo info;
  const TypeCode type = ObjType(selection.obj);
  if (const char* kind = TypeDisplayName(type)) info.kind = ProgramTextToUtf8(kind);
  int32_t helpId = 0;
  if (type == kName || type == kUndeclaredName) {
    helpId = NameHelpId(selection.obj);
  } else if (const LayoutEnv* env = DisplayLayoutEnv()) {
    // The help the pointer shows over the object itself.
    const PlaceContext place = PlaceOf(*env, selection.obj);
    CursorInfo cursor;
    const Point middle{(place.box.left + place.box.right) / 2, place.ReferenceY()};
    gCursorTable.Entry(type)(selection.obj, place, middle, cursor);
    helpId = cursor.helpId;
  }
  if (helpId != 0) {
    if (const char* help = StringById(helpId)) info.help = ProgramTextToUtf8(help);
  }
  return info;
}

void RunGetInfo() {
  const SelectionInfo info = InfoAbout(PrimarySelection());
  QDialog dialog(DialogParent());
  dialog.setObjectName("getInfo");
  dialog.setWindowTitle(QObject::tr("Get Info"));
  auto* layout = new QFormLayout(&dialog);
  auto* kind = new QLabel(QString::fromStdString(info.kind), &dialog);
  kind->setObjectName("infoKind");
  kind->setTextFormat(Qt::PlainText);
  auto* help = new QLabel(QString::fromStdString(info.help), &dialog);
  help->setObjectName("infoHelp");
  help->setTextFormat(Qt::PlainText);
  help->setWordWrap(true);
  help->setMinimumWidth(320);
  layout->addRow(QObject::tr("Selected:"), kind);
  layout->addRow(QObject::tr("About it:"), help);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  layout->addRow(buttons);
  ExecDialog(dialog);
}

// --- Enter Key ----------------------------------------------------------------------

EnterKeyCommands RunEnterKeyDialog(const EnterKeyCommands& keys, bool* accepted) {
  QDialog dialog(DialogParent());
  dialog.setObjectName("enterKey");
  dialog.setWindowTitle(QObject::tr("Enter Key"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* form = new QFormLayout;
  const struct {
    const char* label;
    const char* object;
    CommandCode current;
  } rows[] = {
      {"Return:", "returnKey", keys.returnKey},
      {"Enter (keypad):", "enterKey", keys.enterKey},
      {"Shift+Return:", "shiftReturn", keys.shiftReturn},
      {"Shift+Enter:", "shiftEnter", keys.shiftEnter},
  };
  QComboBox* boxes[4];
  int i = 0;
  for (const auto& row : rows) {
    auto* box = new QComboBox(&dialog);
    box->setObjectName(row.object);
    for (const EnterKeyAction& action : kEnterKeyActions) {
      box->addItem(QObject::tr(action.label), QVariant::fromValue<uint>(action.code));
    }
    const int index = box->findData(QVariant::fromValue<uint>(row.current));
    box->setCurrentIndex(index >= 0 ? index : 0);
    form->addRow(QObject::tr(row.label), box);
    boxes[i++] = box;
  }
  layout->addLayout(form);
  layout->addWidget(OkCancel(dialog));
  const bool ok = ExecDialog(dialog) == QDialog::Accepted;
  if (accepted) *accepted = ok;
  if (!ok) return keys;
  EnterKeyCommands chosen;
  chosen.returnKey = boxes[0]->currentData().toUInt();
  chosen.enterKey = boxes[1]->currentData().toUInt();
  chosen.shiftReturn = boxes[2]->currentData().toUInt();
  chosen.shiftEnter = boxes[3]->currentData().toUInt();
  return chosen;
}

void EditEnterKeys() {
  NotebookRecord* front = FrontRecord();
  if (!front) return;
  NotebookRecord& record = *front;
  bool accepted = false;
  const EnterKeyCommands keys = RunEnterKeyDialog(record.prefs.enterKeys, &accepted);
  if (!accepted || keys == record.prefs.enterKeys) return;
  record.prefs.enterKeys = keys;
  MarkNotebookChanged(CurrentNotebook());
  RefreshMenus();
}

// --- Notebook Font --------------------------------------------------------------------

void EditNotebookFont() {
  Handle notebook = CurrentNotebook();
  NotebookRecord* front = FrontRecord();
  if (!front) return;
  NotebookStyle& style = front->style;

  QDialog dialog(DialogParent());
  dialog.setObjectName("notebookFont");
  dialog.setWindowTitle(QObject::tr("Notebook Font"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* form = new QFormLayout;
  auto* family = new QComboBox(&dialog);
  family->setObjectName("fontFamily");
  for (const std::string& name : FontFamilyNames()) family->addItem(QString::fromStdString(name));
  const int current = family->findText(QString::fromUtf8(style.fontFamily), Qt::MatchFixedString);
  if (current >= 0) {
    family->setCurrentIndex(current);
  } else {
    family->insertItem(0, QString::fromUtf8(style.fontFamily));
    family->setCurrentIndex(0);
  }
  form->addRow(QObject::tr("Font:"), family);
  QSpinBox* sizes[3];
  const char* labels[3] = {"Main size:", "Smaller size:", "Smallest size:"};
  const char* objects[3] = {"mainSize", "smallerSize", "smallestSize"};
  const int32_t values[3] = {style.mainSize, style.smallerSize, style.smallestSize};
  for (int i = 0; i < 3; ++i) {
    sizes[i] = new QSpinBox(&dialog);
    sizes[i]->setObjectName(objects[i]);
    sizes[i]->setRange(0, 127);
    sizes[i]->setValue(values[i]);
    sizes[i]->setSuffix(QObject::tr(" points"));
    form->addRow(QObject::tr(labels[i]), sizes[i]);
  }
  auto* italics = new QCheckBox(QObject::tr("Use Italics for single letters"), &dialog);
  italics->setObjectName("useItalics");
  italics->setChecked(style.useItalics != 0);
  form->addRow(italics);
  layout->addLayout(form);
  layout->addWidget(OkCancel(dialog));

  // After each entry the three sizes are made consistent again by the
  // layout's rules, and the dialog shows what came back.
  bool adjusting = false;
  auto apply = [&](int which) {
    if (adjusting) return;
    adjusting = true;
    FontSizes now{sizes[0]->value(), sizes[1]->value(), sizes[2]->value()};
    FontSizes next = which == 0   ? MainSizeChanged(now, now.main)
                     : which == 1 ? SmallerSizeChanged(now, now.smaller)
                                  : SmallestSizeChanged(now, now.smallest);
    sizes[0]->setValue(next.main);
    sizes[1]->setValue(next.smaller);
    sizes[2]->setValue(next.smallest);
    adjusting = false;
  };
  for (int i = 0; i < 3; ++i) {
    QObject::connect(sizes[i], &QSpinBox::editingFinished, &dialog, [&apply, i] { apply(i); });
    QObject::connect(sizes[i], qOverload<int>(&QSpinBox::valueChanged), &dialog,
                     [&apply, i, &sizes](int) {
                       if (!sizes[i]->hasFocus()) apply(i);
                     });
  }
  if (ExecDialog(dialog) != QDialog::Accepted) return;
  for (int i = 0; i < 3; ++i) apply(i == 0 ? 0 : i);
  const std::string chosen = family->currentText().toStdString();
  std::strncpy(style.fontFamily, chosen.c_str(), sizeof style.fontFamily - 1);
  style.fontFamily[sizeof style.fontFamily - 1] = '\0';
  // Sizes below 6 that were left as typed cannot lay a notebook out.
  style.mainSize = std::max(6, sizes[0]->value());
  style.smallerSize = std::max(6, std::min(sizes[1]->value(), style.mainSize));
  style.smallestSize = std::max(6, std::min(sizes[2]->value(), style.smallerSize));
  style.useItalics = italics->isChecked() ? 1 : 0;
  MarkNotebookChanged(notebook);
  if (NotebookWindow* window = WindowOfNotebook(notebook)) window->Pane()->RebuildLayout();
}

// --- Printing Prefs ---------------------------------------------------------------------

bool EditPrintingPrefs(std::string& printHeader) {
  QDialog dialog(DialogParent());
  dialog.setObjectName("printingPrefs");
  dialog.setWindowTitle(QObject::tr("Printing Prefs"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* form = new QFormLayout;
  auto* header = new QLineEdit(QString::fromStdString(ProgramTextToUtf8(printHeader)), &dialog);
  header->setObjectName("printHeader");
  header->setMinimumWidth(360);
  form->addRow(QObject::tr("Header:"), header);
  auto* hint = new QLabel(
      QObject::tr("?n the notebook's title, ?d the date, ?t the time, ?p the page number,\n"
                  "?a the page letter across, ?? a question mark."),
      &dialog);
  hint->setTextFormat(Qt::PlainText);
  form->addRow(hint);
  layout->addLayout(form);
  layout->addWidget(OkCancel(dialog));
  for (;;) {
    if (ExecDialog(dialog) != QDialog::Accepted) return false;
    const std::string text = Utf8ToProgramText(header->text().toStdString(), '?');
    if (text.size() > kMaxPrintHeaderLength) {
      // Too long: the user shortens it and clicks OK again.
      Alert(kMsgPrintHeaderTooLong);
      continue;
    }
    if (text == printHeader) return false;
    printHeader = text;
    return true;
  }
}

}  // namespace lemmabox
