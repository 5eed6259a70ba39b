// The readable prefix of a growing log, found in one pass over its bytes as
// they come.
#include "store/log_prefix.h"

#include <algorithm>

#include "io/line_reader.h"
#include "store/log_parser.h"

namespace varisift {

namespace {
// The rows of a table, its headings and its reference-star lines begin so;
// the next block of the log begins with its time.
constexpr char blank = ' ';
}  // namespace

void LogPrefix::add(std::string_view bytes) {
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  while (p < end) {
    if (cr_pending_) {
      cr_pending_ = false;
      if (*p == '\n') {
        ++p;
        ++taken_;
        end_line();
        continue;
      }
      end_line();  // a lone CR: the next line begins with this byte
    }
    const char* stop = find_line_end(p, end);
    take_line_part(std::string_view(p, static_cast<std::size_t>(stop - p)));
    taken_ += static_cast<std::uint64_t>(stop - p);
    p = stop;
    if (p == end) break;
    const bool line_feed = *p == '\n';
    ++p;
    ++taken_;
    if (line_feed) {
      end_line();
    } else {
      cr_pending_ = true;
    }
  }
}

void LogPrefix::take_line_part(std::string_view part) {
  if (part.empty()) return;
  if (line_empty_) {
    line_empty_ = false;
    line_begins_blank_ = part.front() == blank;
  }
  if (line_has_key_) return;
  // A key cut between two parts begins in the carried bytes and ends within
  // the first bytes of this part.
  const std::size_t carry_size = photometry_key.size() - 1;
  std::string window = key_carry_;
  window.append(part.substr(0, std::min(part.size(), carry_size)));
  if (window.find(photometry_key) != std::string::npos || part.find(photometry_key) != std::string_view::npos) {
    line_has_key_ = true;
    key_carry_.clear();
    return;
  }
  key_carry_.append(part.substr(part.size() > carry_size ? part.size() - carry_size : 0));
  if (key_carry_.size() > carry_size) key_carry_.erase(0, key_carry_.size() - carry_size);
}

void LogPrefix::end_line() {
  if (!line_empty_ && !line_begins_blank_) table_open_ = false;
  if (line_has_key_ && !table_open_) {
    table_open_ = true;
    table_start_ = line_start_;
  }
  last_line_end_ = taken_;
  line_start_ = taken_;
  line_empty_ = true;
  line_begins_blank_ = false;
  line_has_key_ = false;
  key_carry_.clear();
}

}  // namespace varisift
