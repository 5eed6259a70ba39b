// The decompressed bytes of a gzip file, such as the catalogue as it is
// distributed (vsx.dat.gz). Read with zlib, which checks the stream's length
// and checksum at its end, so a damaged or cut file is told apart from a
// whole one.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "io/byte_source.h"

namespace varisift {

// Whether the file's first two bytes are the gzip signature 1F 8B: a
// catalogue is read compressed by its bytes, whatever its name. The file is
// left at its start.
bool starts_with_gzip_signature(std::FILE* file);

class GzipSource : public ByteSource {
 public:
  // Opens the file; nullptr with the reason in `error` when it cannot be
  // opened or holds no gzip stream.
  static std::unique_ptr<GzipSource> open(const std::string& path, std::string& error);
  ~GzipSource() override;

  std::size_t read(char* buffer, std::size_t size) override;
  bool failed() const override { return !error_.empty(); }
  // Why reading failed, as "is damaged (...)"; "" while it has not.
  const std::string& error() const { return error_; }

 private:
  GzipSource(void* file, std::string zlib_name) : file_(file), zlib_name_(std::move(zlib_name)) {}
  void* file_;             // gzFile, kept opaque so that zlib.h stays in the .cpp
  std::string zlib_name_;  // the file's name in zlib's messages
  std::string error_;
};

}  // namespace varisift
