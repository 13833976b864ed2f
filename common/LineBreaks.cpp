// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/LineBreaks.h"

namespace quillora {

QString LineBreakText(LineBreak style) {
  switch (style) {
    case LineBreak::CrLf: return QStringLiteral("\r\n");
    case LineBreak::Lf: return QStringLiteral("\n");
    case LineBreak::Cr: return QStringLiteral("\r");
  }
  return QStringLiteral("\r\n");
}

LineBreak FirstLineBreak(QStringView text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text.at(i) == u'\n') return LineBreak::Lf;
    if (text.at(i) == u'\r') return (i + 1 < text.size() && text.at(i + 1) == u'\n') ? LineBreak::CrLf : LineBreak::Cr;
  }
  return LineBreak::CrLf;
}

QString ToQtBreaks(const QString &text) {
  if (!text.contains(u'\r')) return text;
  QString out = text;
  out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  out.replace(u'\r', u'\n');
  return out;
}

}  // namespace quillora
