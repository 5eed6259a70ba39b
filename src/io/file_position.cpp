// 64-bit file positions on every system.
#include "io/file_position.h"

#include <stdio.h>

namespace varisift {

namespace {

#ifdef _WIN32
using Offset = __int64;
int seek_from(std::FILE* file, Offset offset, int origin) { return _fseeki64(file, offset, origin); }
Offset position_of(std::FILE* file) { return _ftelli64(file); }
#else
using Offset = off_t;
int seek_from(std::FILE* file, Offset offset, int origin) { return fseeko(file, offset, origin); }
Offset position_of(std::FILE* file) { return ftello(file); }
#endif

}  // namespace

bool seek_to(std::FILE* file, std::uint64_t offset) {
  return seek_from(file, static_cast<Offset>(offset), SEEK_SET) == 0;
}

std::optional<std::uint64_t> size_now(std::FILE* file) {
  if (seek_from(file, 0, SEEK_END) != 0) return std::nullopt;
  const Offset end = position_of(file);
  if (end < 0) return std::nullopt;
  return static_cast<std::uint64_t>(end);
}

}  // namespace varisift
