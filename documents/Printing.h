#pragma once
// Printing to the system's default printer. Successive Print commands share
// one job, which goes to the printer when the program ends.

#include <QString>
#include <memory>

class QPainter;
class QPrinter;

namespace quillora {

class DocumentWindow;

class PrintJob {
 public:
  PrintJob();
  ~PrintJob();

  // Adds a text and one line end to the job, opening it on first use.
  // Returns why it cannot be printed, or empty.
  QString print(const QString &text);
  // Hands the job to the printer. Returns why the printer refused it, or empty.
  QString finish();

 private:
  QString open();
  void newLine(qreal height);

  std::unique_ptr<QPrinter> m_printer;
  std::unique_ptr<QPainter> m_painter;
  qreal m_y = 0;
};

// Print: the window's whole text to the printer, with no dialog; a text that
// cannot be printed is reported.
void PrintCommand(DocumentWindow &window);

}  // namespace quillora
