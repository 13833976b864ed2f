#include "documents/Printing.h"

#include "app/MainFrame.h"
#include "app/Prompts.h"
#include "documents/DocumentWindow.h"
#include "documents/PrintSession.h"
#include "editing/EditControl.h"

#include <QCoreApplication>
#include <QLibrary>

namespace quillora {

namespace {

// The print module lies beside the program in the build folder (or one up,
// for the tests and the benchmark), and in lib/quillora when installed. It
// stays loaded for the rest of the run.
OpenPrintSessionFunction printModule() {
  static const OpenPrintSessionFunction open = []() -> OpenPrintSessionFunction {
    const QString dir = QCoreApplication::applicationDirPath();
    const QString name = QStringLiteral("lib%1.so").arg(QLatin1String(PrintModuleName));
    for (const QString &place : {dir + QStringLiteral("/../lib/quillora/"), dir + u'/', dir + QStringLiteral("/../")}) {
      QLibrary library(place + name);
      if (!library.load()) continue;
      if (auto function = reinterpret_cast<OpenPrintSessionFunction>(library.resolve(OpenPrintSessionName)))
        return function;
    }
    return nullptr;
  }();
  return open;
}

}  // namespace

PrintJob::PrintJob() = default;

PrintJob::~PrintJob() = default;

QString PrintJob::print(const QString &text) {
  if (!m_session) {
    const OpenPrintSessionFunction open = printModule();
    if (!open) return QStringLiteral("The print module (%1) cannot be loaded.").arg(QLatin1String(PrintModuleName));
    m_session.reset(open());
  }
  return m_session->print(ToQtBreaks(text));
}

QString PrintJob::finish() { return m_session ? m_session->finish() : QString(); }

void PrintCommand(DocumentWindow &window) {
  const QString error = window.frame().printer().print(window.Text1()->text());
  if (!error.isEmpty())
    MsgBox(&window.frame(), QStringLiteral("The text cannot be printed. ") + error, msg::Exclamation);
}

}  // namespace quillora
