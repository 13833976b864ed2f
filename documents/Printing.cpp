#include "documents/Printing.h"

#include "app/MainFrame.h"
#include "app/Prompts.h"
#include "documents/DocumentWindow.h"
#include "editing/EditControl.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextLayout>

#include <QLibrary>

#include <cups/cups.h>

namespace quillora {

namespace {

// The print service's client library, loaded when the first print needs it:
// linked in, it and its twenty libraries would cost every start-up some
// milliseconds, and most sessions never print. Qt's own print support loads
// the same library, so the last error read here is the one of Qt's job.
struct CupsLibrary {
  decltype(&httpConnect2) connect = nullptr;
  decltype(&cupsServer) server = nullptr;
  decltype(&ippPort) port = nullptr;
  decltype(&cupsEncryption) encryption = nullptr;
  decltype(&httpSetTimeout) setTimeout = nullptr;
  decltype(&cupsDoRequest) doRequest = nullptr;
  decltype(&ippNewRequest) newRequest = nullptr;
  decltype(&ippDelete) deleteMessage = nullptr;
  decltype(&httpClose) close = nullptr;
  decltype(&cupsLastError) lastError = nullptr;
  decltype(&cupsLastErrorString) lastErrorString = nullptr;

  bool complete() const {
    return connect && server && port && encryption && setTimeout && doRequest && newRequest && deleteMessage && close &&
           lastError && lastErrorString;
  }
};

const CupsLibrary *Cups() {
  static const CupsLibrary loaded = [] {
    CupsLibrary cups;
    QLibrary library(QStringLiteral("cups"), 2);
    if (!library.load()) return cups;  // stays loaded for the rest of the run
    auto resolve = [&library](auto &function, const char *name) {
      function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
    };
    resolve(cups.connect, "httpConnect2");
    resolve(cups.server, "cupsServer");
    resolve(cups.port, "ippPort");
    resolve(cups.encryption, "cupsEncryption");
    resolve(cups.setTimeout, "httpSetTimeout");
    resolve(cups.doRequest, "cupsDoRequest");
    resolve(cups.newRequest, "ippNewRequest");
    resolve(cups.deleteMessage, "ippDelete");
    resolve(cups.close, "httpClose");
    resolve(cups.lastError, "cupsLastError");
    resolve(cups.lastErrorString, "cupsLastErrorString");
    return cups;
  }();
  return loaded.complete() ? &loaded : nullptr;
}

// Asks the print service for its default printer on a connection of our own
// that gives up after a few seconds: a hung service would hold Qt's own
// printer queries, and the window, for minutes.
QString checkPrintService() {
  const CupsLibrary *cups = Cups();
  if (!cups) return QStringLiteral("The print service's library (libcups.so.2) cannot be loaded.");
  http_t *http = cups->connect(cups->server(), cups->port(), nullptr, AF_UNSPEC, cups->encryption(), 1, 3000, nullptr);
  if (!http) return QStringLiteral("The print service cannot be reached.");
  cups->setTimeout(
      http, 3.0, [](http_t *, void *) { return 0; }, nullptr);
  ipp_t *response = cups->doRequest(http, cups->newRequest(IPP_OP_CUPS_GET_DEFAULT), "/");
  const bool answered = response != nullptr;
  cups->deleteMessage(response);
  cups->close(http);
  return answered ? QString() : QStringLiteral("The print service does not answer.");
}

}  // namespace

PrintJob::PrintJob() = default;

PrintJob::~PrintJob() {
  if (m_painter) finish();
}

QString PrintJob::open() {
  if (const QString unavailable = checkPrintService(); !unavailable.isEmpty()) return unavailable;
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

void PrintJob::newLine(qreal height) {
  const qreal pageHeight = m_printer->pageLayout().paintRectPixels(m_printer->resolution()).height();
  if (m_y + height > pageHeight && m_y > 0) {
    m_printer->newPage();
    m_y = 0;
  }
}

QString PrintJob::print(const QString &text) {
  if (!m_painter) {
    const QString error = open();
    if (!error.isEmpty()) return error;
  }
  const qreal width = m_printer->pageLayout().paintRectPixels(m_printer->resolution()).width();
  const QFont font(m_painter->font(), m_printer.get());  // the printer's own default font
  // The text continues on the line after the previous one; long lines wrap
  // and full pages break.
  for (const QString &paragraph : ToQtBreaks(text).split(u'\n')) {
    QTextLayout layout(paragraph, font, m_printer.get());
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

QString PrintJob::finish() {
  if (!m_painter) return {};
  m_painter->end();
  m_painter.reset();
  m_printer.reset();
  const CupsLibrary *cups = Cups();
  if (cups && cups->lastError() >= IPP_STATUS_REDIRECTION_OTHER_SITE) return QString::fromUtf8(cups->lastErrorString());
  return {};
}

void PrintCommand(DocumentWindow &window) {
  const QString error = window.frame().printer().print(window.Text1()->text());
  if (!error.isEmpty())
    MsgBox(&window.frame(), QStringLiteral("The text cannot be printed. ") + error, msg::Exclamation);
}

}  // namespace quillora
