// UTF-8 names to the system's paths and back.
#include "io/file_names.h"

#ifdef _WIN32
#include <cstring>

#include "text/utf16_text.h"
#endif

namespace varisift {

#ifdef _WIN32

// Windows' wchar_t is a UTF-16 code unit.
std::filesystem::path path_of(std::string_view name) {
  const std::u16string units = utf8_to_utf16(name);
  return std::filesystem::path(std::wstring(units.begin(), units.end()));
}

std::string name_of(const std::filesystem::path& path) {
  const std::wstring& wide = path.native();
  return utf16_to_utf8(std::u16string(wide.begin(), wide.end()));
}

std::FILE* open_file(std::string_view name, const char* mode) {
  const std::wstring wide_mode(mode, mode + std::strlen(mode));
  return _wfopen(path_of(name).c_str(), wide_mode.c_str());
}

#else

std::filesystem::path path_of(std::string_view name) { return std::filesystem::path(std::string(name)); }

std::string name_of(const std::filesystem::path& path) { return path.native(); }

std::FILE* open_file(std::string_view name, const char* mode) { return std::fopen(std::string(name).c_str(), mode); }

#endif

}  // namespace varisift
