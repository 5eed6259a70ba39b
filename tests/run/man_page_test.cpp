// The manual page kept in the repository (made by tools/make_man_page.sh)
// against the program it describes: each option with its text as --help
// prints it, and the version.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "base/build_info.h"
#include "run/command_line.h"

namespace varisift {
namespace {

constexpr const char* remake = "the manual page is out of date: run tools/make_man_page.sh and commit doc/varisift.1";

// Each option as "TAG | TEXT", the lines of its text joined by one blank.
using Options = std::vector<std::string>;

std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void add_text(std::string& option, const std::string& text) { option += (option.back() == ' ' ? "" : " ") + text; }

// The option lines of --help: "  TAG  TEXT", the text going on in lines
// indented further; a tag too long for its column stands alone.
Options help_options() {
  Options options;
  for (const std::string& line : usage_lines()) {
    const std::string text = trimmed(line);
    if (line.rfind("  -", 0) == 0) {
      const std::size_t gap = text.find("  ");
      options.push_back(gap == std::string::npos ? text + " |"
                                                 : text.substr(0, gap) + " | " + trimmed(text.substr(gap)));
    } else if (line.rfind("  ", 0) == 0 && !options.empty()) {
      add_text(options.back(), text);
    }
  }
  return options;
}

// A roff text line as it reads: changes of font dropped, escaped
// characters plain; \, \/ \& and \: only adjust spacing and are dropped.
std::string plain(const std::string& roff) {
  std::string out;
  for (std::size_t i = 0; i < roff.size(); ++i) {
    if (roff[i] != '\\' || i + 1 == roff.size()) {
      out += roff[i];
      continue;
    }
    const char code = roff[++i];
    if (code == 'f') {
      ++i;  // the font's letter
    } else if (code == '(' && roff.compare(i + 1, 2, "aq") == 0) {
      out += '\'';
      i += 2;
    } else if (code == '-' || code == '\\' || code == ' ') {
      out += code;
    } else if (code == 'e') {
      out += '\\';
    }
  }
  return out;
}

// The ".TP" entries of the page's OPTIONS section: the tag's line, then
// the text's lines up to the next request. `title` gets the .TH line.
Options page_options(std::ifstream& page, std::string& title) {
  Options options;
  bool in_options = false;
  bool tag_next = false;
  for (std::string line; std::getline(page, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(".TH ", 0) == 0) title = line;
    if (line.rfind(".SH ", 0) == 0) in_options = line == ".SH OPTIONS";
    if (!in_options) continue;
    if (line == ".TP") {
      tag_next = true;
    } else if (line.rfind('.', 0) == 0) {
      continue;
    } else if (tag_next) {
      options.push_back(plain(line) + " |");
      tag_next = false;
    } else if (!options.empty()) {
      add_text(options.back(), plain(line));
    }
  }
  return options;
}

TEST(ManPage, OptionsAndVersionAreThoseOfTheProgram) {
  std::ifstream page(VARISIFT_MAN_PAGE);
  ASSERT_TRUE(page) << VARISIFT_MAN_PAGE;
  std::string title;
  const Options in_page = page_options(page, title);
  const Options in_help = help_options();
  ASSERT_FALSE(in_help.empty());
  for (std::size_t i = 0; i < std::max(in_page.size(), in_help.size()); ++i) {
    const std::string page_entry = i < in_page.size() ? in_page[i] : "(none)";
    const std::string help_entry = i < in_help.size() ? in_help[i] : "(none)";
    if (page_entry != help_entry) {
      ADD_FAILURE() << "option " << i + 1 << "\n  page:   " << page_entry << "\n  --help: " << help_entry << "\n"
                    << remake;
      break;
    }
  }
  EXPECT_NE(title.find(std::string("\"varisift ") + build_version + "\""), std::string::npos) << title << "\n"
                                                                                              << remake;
}

}  // namespace
}  // namespace varisift
