// Helpers shared by the fuzz targets: the fuzz input as a read-only FILE*,
// and a check that aborts (so that libFuzzer keeps the input) with a message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

// The bytes as a file opened for reading, over a private copy of them.
class MemoryFile {
 public:
  MemoryFile(const std::uint8_t* data, std::size_t size)
      : bytes_(reinterpret_cast<const char*>(data), size), file_(fmemopen(bytes_.data(), bytes_.size(), "rb")) {
    if (file_ == nullptr) std::abort();
  }
  ~MemoryFile() { std::fclose(file_); }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  std::FILE* get() const { return file_; }

 private:
  std::string bytes_;
  std::FILE* file_;
};

// Aborts with a message when a property of the code under test fails.
inline void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "property violated: %s\n", what);
  std::abort();
}

}  // namespace fuzz
