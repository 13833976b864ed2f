// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/FindDialog.h"

#include "common/DialogSize.h"
#include "common/Fonts.h"
#include "common/Twips.h"
#include "editing/Finder.h"
#include "languages/Catalogue.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace quillora {

FindDialog::FindDialog(Finder &finder, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_finder(finder) {
  setObjectName(QStringLiteral("frmFind"));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setFont(DesignFont());

  auto place = [this](QWidget *w, const char *name, int left, int top, int width, int height) {
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(TwipsX(this, left), TwipsY(this, top), TwipsX(this, width), TwipsY(this, height));
  };
  m_label = new QLabel(this);
  place(m_label, "Label1", 120, 240, 975, 255);
  m_text = new QLineEdit(this);
  place(m_text, "Text1", 1200, 120, 2415, 500);
  m_label->setBuddy(m_text);
  m_case = new QCheckBox(this);
  place(m_case, "chkCase", 120, 720, 1335, 495);
  m_direction = new QGroupBox(this);
  place(m_direction, "Frame1", 1560, 720, 2055, 615);
  m_up = new QRadioButton(m_direction);
  place(m_up, "optDirection", 120, 240, 855, 255);
  m_up->setProperty("index", 0);
  m_down = new QRadioButton(m_direction);
  place(m_down, "optDirection", 1080, 240, 852, 252);
  m_down->setProperty("index", 1);
  m_find = new QPushButton(this);
  place(m_find, "cmdFind", 3720, 120, 1092, 372);
  m_cancel = new QPushButton(this);
  place(m_cancel, "cmdcancel", 3720, 600, 1092, 372);
  m_find->setDefault(true);
  m_find->setAutoDefault(true);
  m_cancel->setAutoDefault(false);
  setTabOrder(m_text, m_case);
  setTabOrder(m_case, m_up);
  setTabOrder(m_up, m_down);
  setTabOrder(m_down, m_find);
  setTabOrder(m_find, m_cancel);

  setTexts(English);  // the dialog's own texts

  FixDialogSize(this, QSize(TwipsX(this, 4950), TwipsY(this, 1395)));
  move(TwipsX(this, 390), TwipsY(this, 8490));

  // Load: Find is disabled, the remembered direction is selected.
  m_find->setEnabled(false);
  (finder.state().FindDirection == 0 ? m_up : m_down)->setChecked(true);

  connect(m_text, &QLineEdit::textChanged, this, [this](const QString &t) { m_find->setEnabled(!t.isEmpty()); });
  connect(m_case, &QCheckBox::clicked, this, [this](bool on) { m_finder.state().FindMatchCase = on ? 1 : 0; });
  connect(m_up, &QRadioButton::clicked, this, [this] { m_finder.state().FindDirection = 0; });
  connect(m_down, &QRadioButton::clicked, this, [this] { m_finder.state().FindDirection = 1; });
  connect(m_find, &QPushButton::clicked, this, &FindDialog::onFind);
  connect(m_cancel, &QPushButton::clicked, this, &FindDialog::onCancel);
}

void FindDialog::setTexts(int language) {
  const FindTexts &t = FindDialogTexts(language);
  setWindowTitle(QString::fromUtf8(t.title));
  m_label->setText(QString::fromUtf8(t.prompt));
  m_case->setText(QString::fromUtf8(t.matchCase));
  if (t.direction) m_direction->setTitle(QString::fromUtf8(t.direction));
  m_up->setText(QString::fromUtf8(t.up));
  m_down->setText(QString::fromUtf8(t.down));
  m_find->setText(QString::fromUtf8(t.find));
  m_cancel->setText(QString::fromUtf8(t.cancel));
  m_text->setAccessibleName(QString(m_label->text()).remove(u'&'));
}

void FindDialog::setSearchText(const QString &text) {
  m_text->setText(text);
  m_find->setEnabled(!text.isEmpty());
}

void FindDialog::setMatchCase(bool checked) { m_case->setChecked(checked); }

void FindDialog::showAndActivate() {
  show();
  raise();
  activateWindow();
  m_text->setFocus();
}

void FindDialog::keyPressEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    onCancel();  // Esc presses Cancel
    return;
  }
  QDialog::keyPressEvent(event);
}

void FindDialog::closeEvent(QCloseEvent *event) {
  QDialog::closeEvent(event);
  m_closing = event->isAccepted();
}

void FindDialog::onFind() {
  m_finder.state().FindText = m_text->text();
  m_finder.findInActiveDocument();
}

void FindDialog::onCancel() {
  SearchState &state = m_finder.state();
  state.FindText = m_text->text();
  state.FindMatchCase = m_case->isChecked() ? 1 : 0;
  close();
}

}  // namespace quillora
