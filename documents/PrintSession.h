// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The part of printing that needs Qt's print support and the print service's
// library. It is a module of its own, loaded by the first print: most
// sessions never print, and linked into the program the two libraries and
// their dependencies would slow every start-up.

#include <QString>

namespace quillora {

class PrintSession {
 public:
  virtual ~PrintSession() = default;
  // Adds a text (line breaks as '\n') and one line end to the job, opening
  // it on first use. Returns why it cannot be printed, or empty.
  virtual QString print(const QString &text) = 0;
  // Hands the job to the printer. Returns why the printer refused it, or empty.
  virtual QString finish() = 0;
};

// The module's one entry point, found by name.
using OpenPrintSessionFunction = PrintSession *(*)();
inline constexpr char OpenPrintSessionName[] = "QuilloraOpenPrintSession";
inline constexpr char PrintModuleName[] = "quillora_printing";

}  // namespace quillora
