// Reading a gzip file through zlib's gz functions.
#include "io/gzip_source.h"

#include <zlib.h>

#include <climits>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "io/file_names.h"

namespace varisift {

namespace {
gzFile as_gz(void* file) { return static_cast<gzFile>(file); }

// Opens the file for zlib, which puts its name for the file in front of its
// messages ("NAME: unexpected end of file"); that name is kept in zlib_name.
// On Windows zlib opens a descriptor of ours, named "<fd:N>": the name it
// would make of a UTF-16 name is its own multibyte text, not known here.
gzFile open_compressed(const std::filesystem::path& path, std::string& zlib_name) {
#ifdef _WIN32
  const int descriptor = _wopen(path.c_str(), _O_RDONLY | _O_BINARY);
  if (descriptor < 0) return nullptr;
  gzFile file = gzdopen(descriptor, "rb");
  if (file == nullptr) _close(descriptor);
  zlib_name = "<fd:" + std::to_string(descriptor) + ">";
  return file;
#else
  zlib_name = path.native();
  return gzopen(path.c_str(), "rb");
#endif
}

// zlib's message on a failed read, without the name it puts in front.
std::string read_error(gzFile file, const std::string& name) {
  int code = Z_OK;
  const char* message = gzerror(file, &code);
  if (code == Z_OK) return "";
  std::string text = message != nullptr ? message : "";
  if (text.compare(0, name.size() + 2, name + ": ") == 0) text.erase(0, name.size() + 2);
  return "is damaged (" + (text.empty() ? std::string("broken gzip stream") : text) + ")";
}
// Bytes asked of zlib at once at most (its read count is an unsigned int).
constexpr std::size_t max_read = static_cast<std::size_t>(INT_MAX) / 2;
// zlib's own buffer, larger than its default for fewer system reads.
constexpr unsigned gz_buffer_bytes = 1u << 17;
// The first two bytes of every gzip file.
constexpr unsigned char gzip_signature[2] = {0x1F, 0x8B};
}  // namespace

bool starts_with_gzip_signature(std::FILE* file) {
  unsigned char first[2] = {0, 0};
  std::size_t got = std::fread(first, 1, 2, file);
  std::rewind(file);
  return got == 2 && first[0] == gzip_signature[0] && first[1] == gzip_signature[1];
}

std::unique_ptr<GzipSource> GzipSource::open(const std::string& path, std::string& error) {
  std::error_code ec;
  const std::filesystem::path native = path_of(path);
  // A directory of that name is no file: gzopen would accept it.
  if (std::filesystem::is_directory(native, ec)) {
    error = "is a folder";
    return nullptr;
  }
  std::string zlib_name;
  gzFile file = open_compressed(native, zlib_name);
  if (file == nullptr) {
    error = "cannot be opened";
    return nullptr;
  }
  gzbuffer(file, gz_buffer_bytes);
  std::unique_ptr<GzipSource> source(new GzipSource(file, zlib_name));
  // zlib reads a file without a gzip header as it is; a .gz name promises
  // compressed bytes, so such a file is refused. An empty file has none.
  char first = 0;
  int got = gzread(file, &first, 1);
  if (got < 0) {
    error = read_error(file, source->zlib_name_);
    return nullptr;
  }
  if (gzdirect(file) != 0) {
    error = "is no gzip file";
    return nullptr;
  }
  if (got == 1) gzungetc(static_cast<unsigned char>(first), file);
  return source;
}

GzipSource::~GzipSource() {
  if (file_ != nullptr) gzclose_r(as_gz(file_));
}

std::size_t GzipSource::read(char* buffer, std::size_t size) {
  if (file_ == nullptr || failed()) return 0;
  unsigned wanted = static_cast<unsigned>(size < max_read ? size : max_read);
  int got = gzread(as_gz(file_), buffer, wanted);
  // At the end (0) zlib tells a stream cut short from a whole one.
  if (got <= 0) {
    error_ = read_error(as_gz(file_), zlib_name_);
    if (got < 0 && error_.empty()) error_ = "is damaged (broken gzip stream)";
    return 0;
  }
  return static_cast<std::size_t>(got);
}

}  // namespace varisift
