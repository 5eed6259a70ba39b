// A source of bytes read front to back: an open file, or a gzip-compressed
// file decompressed on the way (io/gzip_source.h). Readers of whole files
// take a source, so a catalogue is read the same way either way.
#pragma once

#include <cstddef>
#include <cstdio>

namespace varisift {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to size bytes into buffer; 0 at the end, or once reading failed.
  virtual std::size_t read(char* buffer, std::size_t size) = 0;
  // Whether reading stopped on an error rather than at the end (a read
  // error of the device, a damaged compressed stream).
  virtual bool failed() const = 0;
};

// The bytes of an open file; the source does not close it.
class FileSource : public ByteSource {
 public:
  explicit FileSource(std::FILE* file) : file_(file) {}
  std::size_t read(char* buffer, std::size_t size) override {
    return file_ == nullptr ? 0 : std::fread(buffer, 1, size, file_);
  }
  bool failed() const override { return file_ != nullptr && std::ferror(file_) != 0; }

 private:
  std::FILE* file_;
};

}  // namespace varisift
