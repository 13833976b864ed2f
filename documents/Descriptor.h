// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file descriptor that closes itself, and a write that writes everything.

#include <unistd.h>
#include <cerrno>
#include <utility>

namespace quillora {

// A file descriptor, closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Descriptor(Descriptor &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
  Descriptor(const Descriptor &) = delete;
  Descriptor &operator=(const Descriptor &) = delete;
  Descriptor &operator=(Descriptor &&other) noexcept {
    std::swap(m_fd, other.m_fd);
    return *this;
  }
  int get() const { return m_fd; }
  bool valid() const { return m_fd >= 0; }
  int release() { return std::exchange(m_fd, -1); }
  // Closes now; the error of close itself counts (a network file system
  // may report a failed write only here).
  int close() {
    const int result = ::close(std::exchange(m_fd, -1));
    return result == 0 ? 0 : errno;
  }

 private:
  int m_fd;
};

// Writes all the bytes from the offset on; 0, or the error.
inline int WriteAll(int fd, const char *data, long long size, off_t offset) {
  while (size > 0) {
    const ssize_t written = ::pwrite(fd, data, size_t(size), offset);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += written;
    size -= written;
    offset += written;
  }
  return 0;
}

}  // namespace quillora
