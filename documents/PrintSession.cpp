// SPDX-License-Identifier: GPL-3.0-or-later
// The print module: one QPrinter/QPainter job on the default printer.
#include "documents/PrintSession.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextLayout>
#include <memory>

#include <cups/cups.h>

namespace quillora {

namespace {

// Asks the print service for its default printer on a connection of our own
// that gives up after a few seconds: a hung service would hold Qt's own
// printer queries, and the window, for minutes.
QString checkPrintService() {
  http_t *http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 3000, nullptr);
  if (!http) return QStringLiteral("The print service cannot be reached.");
  httpSetTimeout(
      http, 3.0, [](http_t *, void *) { return 0; }, nullptr);
  ipp_t *response = cupsDoRequest(http, ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/");
  const bool answered = response != nullptr;
  ippDelete(response);
  httpClose(http);
  return answered ? QString() : QStringLiteral("The print service does not answer.");
}

class PrinterSession : public PrintSession {
 public:
  ~PrinterSession() override {
    if (m_painter) finish();
  }

  QString print(const QString &text) override {
    if (!m_painter) {
      QString error = open();
      if (!error.isEmpty()) return error;
    }
    const qreal width = m_printer->pageLayout().paintRectPixels(m_printer->resolution()).width();
    const QFont font(m_painter->font(), m_printer.get());  // the printer's own default font
    // The text continues on the line after the previous one; long lines wrap
    // between words, a word wider than the line anywhere, and full pages break.
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString &paragraph : text.split(u'\n')) {
      QTextLayout layout(paragraph, font, m_printer.get());
      layout.setTextOption(wrapping);
      layout.beginLayout();
      qreal y = 0;
      for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
      }
      layout.endLayout();
      for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        newLine(line.height());
        line.draw(m_painter.get(), QPointF(0, m_y - line.y()));
        m_y += line.height();
      }
    }
    return {};
  }

  QString finish() override {
    if (!m_painter) return {};
    m_painter->end();
    m_painter.reset();
    m_printer.reset();
    // Qt's print support talks to the same library: its last error is the job's.
    if (cupsLastError() >= IPP_STATUS_REDIRECTION_OTHER_SITE) return QString::fromUtf8(cupsLastErrorString());
    return {};
  }

 private:
  QString open() {
    if (QString unavailable = checkPrintService(); !unavailable.isEmpty()) return unavailable;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return QStringLiteral("There is no default printer.");
    m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
      m_painter.reset();
      m_printer.reset();
      return QStringLiteral("The printer %1 cannot start a print job.").arg(info.printerName());
    }
    m_y = 0;
    return {};
  }

  void newLine(qreal height) {
    const qreal pageHeight = m_printer->pageLayout().paintRectPixels(m_printer->resolution()).height();
    if (m_y + height > pageHeight && m_y > 0) {
      m_printer->newPage();
      m_y = 0;
    }
  }

  std::unique_ptr<QPrinter> m_printer;
  std::unique_ptr<QPainter> m_painter;
  qreal m_y = 0;
};

}  // namespace

}  // namespace quillora

extern "C" Q_DECL_EXPORT quillora::PrintSession *QuilloraOpenPrintSession() { return new quillora::PrinterSession; }
