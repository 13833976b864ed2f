// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/Printing.h"

#include "common/Prompts.h"
#include "documents/DocumentWindow.h"
#include "documents/Documents.h"
#include "documents/PrintSession.h"
#include "editing/EditControl.h"
#include "editing/EditHost.h"

#include <QCoreApplication>
#include <QLibrary>

namespace quillora {

QStringList PrintJob::defaultModuleFolders() {
  // Beside the program in the build folder (or one up, for the tests and the
  // benchmark), and in lib/quillora when installed.
  const QString dir = QCoreApplication::applicationDirPath();
  return {dir + QStringLiteral("/../lib/quillora"), dir, dir + QStringLiteral("/..")};
}

PrintJob::PrintJob(QStringList moduleFolders) : m_moduleFolders(std::move(moduleFolders)) {}

PrintJob::~PrintJob() = default;

QString PrintJob::openSession() {
  // The module stays loaded for the rest of the run.
  const QString name = QStringLiteral("/lib%1.so").arg(QLatin1String(PrintModuleName));
  for (const QString &folder : m_moduleFolders) {
    QLibrary library(folder + name);
    if (!library.load()) continue;
    if (auto open = reinterpret_cast<OpenPrintSessionFunction>(library.resolve(OpenPrintSessionName))) {
      m_session.reset(open());
      return {};
    }
  }
  return QStringLiteral("The print module (%1) cannot be loaded.").arg(QLatin1String(PrintModuleName));
}

QString PrintJob::print(const QString &text) {
  if (!m_session) {
    if (QString error = openSession(); !error.isEmpty()) return error;
  }
  return m_session->print(text);
}

QString PrintJob::finish() { return m_session ? m_session->finish() : QString(); }

void PrintCommand(DocumentWindow &window) {
  const QString error = window.documents().printJob().print(window.Text1()->plainText());
  if (!error.isEmpty())
    MsgBox(window.host().hostWindow(), QStringLiteral("The text cannot be printed. ") + error, msg::Exclamation);
}

}  // namespace quillora
