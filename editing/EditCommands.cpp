#include "editing/EditCommands.h"

#include "app/MainFrame.h"
#include "documents/DocumentWindow.h"
#include "editing/EditControl.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

namespace quillora {

namespace {

EditControl *focusedText(MainFrame &frame) {
  DocumentWindow *window = frame.activeDocument();
  return window ? window->Text1() : nullptr;
}

}  // namespace

void CopySelection(MainFrame &frame) {
  if (EditControl *e = focusedText(frame)) QApplication::clipboard()->setText(e->selText());
}

void CutSelection(MainFrame &frame) {
  EditControl *e = focusedText(frame);
  if (!e) return;
  QApplication::clipboard()->setText(e->selText());
  if (e->selLength() > 0) e->setSelText(QString());
}

void PasteClipboard(MainFrame &frame) {
  EditControl *e = focusedText(frame);
  if (!e) return;
  const QString text = QApplication::clipboard()->text();
  if (text.isEmpty() && e->selLength() == 0) return;  // nothing to insert, nothing to replace
  e->setSelText(text);
}

void DeleteCommand(MainFrame &frame) {
  EditControl *e = focusedText(frame);
  if (!e) return;
  const qint64 s = e->selStart();
  if (s == e->textLength()) return;
  if (e->selLength() == 0) {
    e->setSelLength(1);
    if (e->selText().startsWith(u'\r')) e->setSelLength(2);
  }
  e->setSelText(QString());
}

void SelectAllCommand(MainFrame &frame) {
  EditControl *e = focusedText(frame);
  if (!e) return;
  e->setSelStart(0);
  e->setSelLength(e->textLength());
}

QString GeneralDateText(const QDateTime &moment) {
  const QLocale locale = QLocale::system();
  const QString date = locale.toString(moment.date(), QLocale::ShortFormat);
  if (moment.time() == QTime(0, 0)) return date;
  // The locale's long time without its time-zone name.
  QString format = locale.timeFormat(QLocale::LongFormat);
  format.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
  return date + u' ' + locale.toString(moment.time(), format.trimmed());
}

void TimeDateCommand(DocumentWindow &window) {
  window.Text1()->setSelText(GeneralDateText(QDateTime::currentDateTime()));
}

void FontNameCommand(DocumentWindow &window, int index) {
  const QStringList &families = window.frame().fontFamilies();
  if (index < 0 || index >= families.size()) return;
  QFont font = window.Text1()->font();
  font.setFamily(families.at(index));
  window.Text1()->setFont(font);
}

}  // namespace quillora
