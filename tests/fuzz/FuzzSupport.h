// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A headless application for the fuzz targets, and a reader of the input.

#include <QApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

inline void StartHeadlessApplication() {
  static int argc = 1;
  static char name[] = "fuzz";
  static char *argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: the fuzzer ends the process through exit(), after Qt's own statics.
  static QApplication *app = new QApplication(argc, argv);
  (void)app;
}

// Takes numbers and strings off the front of the input.
class Input {
 public:
  Input(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
  bool empty() const { return m_pos >= m_size; }
  unsigned byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
  unsigned below(unsigned n) { return n ? byte() % n : 0; }
  // A short text from a small alphabet that makes matches and line breaks likely.
  QString text(unsigned maxLength, const char16_t *alphabet) {
    const unsigned length = below(maxLength + 1);
    const size_t letters = std::char_traits<char16_t>::length(alphabet);
    QString s;
    for (unsigned i = 0; i < length; ++i) s.append(QChar(alphabet[below(unsigned(letters))]));
    return s;
  }

 private:
  const uint8_t *m_data;
  size_t m_size;
  size_t m_pos = 0;
};

#define FUZZ_CHECK(condition)                                                             \
  do {                                                                                    \
    if (!(condition)) {                                                                   \
      std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                       \
    }                                                                                     \
  } while (0)
