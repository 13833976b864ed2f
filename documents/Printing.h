// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Printing to the system's default printer. Successive Print commands share
// one job, which goes to the printer when the program ends.

#include <QString>
#include <QStringList>
#include <memory>

namespace quillora {

class DocumentWindow;
class PrintSession;

class PrintJob {
 public:
  // The print module is looked for in these folders, in order.
  static QStringList defaultModuleFolders();
  explicit PrintJob(QStringList moduleFolders = defaultModuleFolders());
  ~PrintJob();

  // Adds a text and one line end to the job, opening it on first use; the
  // print module is loaded then. Returns why it cannot be printed, or empty.
  QString print(const QString &text);
  // Hands the job to the printer. Returns why the printer refused it, or empty.
  QString finish();

 private:
  QString openSession();

  QStringList m_moduleFolders;
  std::unique_ptr<PrintSession> m_session;
};

// Print: the window's whole text to the printer, with no dialog; a text that
// cannot be printed is reported.
void PrintCommand(DocumentWindow &window);

}  // namespace quillora
