// Reading back the stored start of a measurement's text.
#include "store/observation_store.h"

namespace varisift {

std::string_view Image::line_start(std::uint32_t m) const {
  const char* slot = text.data() + (m - 1) * text_stride;
  return {slot + 1, static_cast<unsigned char>(slot[0])};
}

std::string Image::shown_text(std::uint32_t m) const {
  std::string shown = time;
  shown += ' ';
  shown += line_start(m);
  if (shown.size() > shown_text_length) shown.resize(shown_text_length);
  return shown;
}

}  // namespace varisift
