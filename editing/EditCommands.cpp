// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/EditCommands.h"

#include "common/Fonts.h"
#include "editing/EditControl.h"
#include "languages/Catalogue.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

namespace quillora {

void CopySelection(EditControl *e) {
  if (e) QApplication::clipboard()->setText(e->selText());
}

void CutSelection(EditControl *e) {
  if (!e) return;
  QApplication::clipboard()->setText(e->selText());
  if (e->selLength() > 0) e->setSelText(QString());
}

void PasteClipboard(EditControl *e) {
  if (!e) return;
  const QString text = QApplication::clipboard()->text();
  if (text.isEmpty() && e->selLength() == 0) return;  // nothing to insert, nothing to replace
  e->setSelText(text);
}

void DeleteCommand(EditControl *e) {
  if (!e) return;
  const qint64 s = e->selStart();
  if (s == e->textLength()) return;
  if (e->selLength() == 0) {
    e->setSelLength(1);
    if (e->selText().startsWith(u'\r')) e->setSelLength(2);
  }
  e->setSelText(QString());
}

void SelectAllCommand(EditControl *e) {
  if (!e) return;
  e->setSelStart(0);
  e->setSelLength(e->textLength());
}

QString GeneralDateText(const QDateTime &moment) {
  const QLocale locale = QLocale::system();
  QString date = locale.toString(moment.date(), QLocale::ShortFormat);
  if (moment.time() == QTime(0, 0)) return date;
  // The locale's long time without its time-zone name.
  QString format = locale.timeFormat(QLocale::LongFormat);
  static const QRegularExpression timeZone(QStringLiteral("\\s*t+\\s*"));
  format.remove(timeZone);
  return date + u' ' + locale.toString(moment.time(), format.trimmed());
}

void TimeDateCommand(EditControl &text) { text.setSelText(GeneralDateText(QDateTime::currentDateTime())); }

void FontNameCommand(EditControl &text, int index) {
  const QStringList &families = InstalledFontFamilies();
  if (index < 0 || index >= families.size()) return;
  QFont font = text.font();
  font.setFamily(families.at(index));
  text.setFont(font);
}

void FontSizeCommand(EditControl &text, int index) {
  if (index < 0 || index >= int(FontSizes.size())) return;
  QFont font = text.font();
  font.setPointSize(FontSizes.at(std::size_t(index)));
  text.setFont(font);
}

}  // namespace quillora
