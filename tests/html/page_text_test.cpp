// Text of the HTML page: Latin-1 to UTF-8, escaping for elements and
// attributes, control bytes.
#include "html/page_text.h"

#include <gtest/gtest.h>

#include <string>

namespace varisift {
namespace {

TEST(PageText, Latin1BecomesUtf8ByteForByte) {
  EXPECT_EQ(latin1_to_utf8("M\xE4rz \xB1\xB0\xB5 \xFF"), "M\xC3\xA4rz \xC2\xB1\xC2\xB0\xC2\xB5 \xC3\xBF");
  EXPECT_EQ(latin1_to_utf8("plain"), "plain");
}

TEST(PageText, EscapingKeepsUtf8AndTakesOtherBytesAsLatin1) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"a&b<c>d", "a&amp;b&lt;c&gt;d"},
      {"say \"x\" or 'y'", "say &quot;x&quot; or &#39;y&#39;"},
      {"&amp;", "&amp;amp;"},                                    // escaped text is escaped again, not trusted
      {"M\xC3\xA4rz \xE2\x88\x92", "M\xC3\xA4rz \xE2\x88\x92"},  // valid UTF-8 kept
      {"M\xE4rz", "M\xC3\xA4rz"},                                // a lone Latin-1 byte
      {"\xC3", "\xC3\x83"},                                      // a cut sequence at the end
      {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                          // overlong form: two Latin-1 bytes
      {"\xE0\x80\xAF", "\xC3\xA0\xEF\xBF\xBD\xC2\xAF"},          // the same, its 0x80 a control
      {"\xED\xA0\xA0", "\xC3\xAD\xC2\xA0\xC2\xA0"},              // a surrogate
      {"tab\there", "tab\there"},
      {"bell\x07 del\x7F c1\x85", "bell\xEF\xBF\xBD del\xEF\xBF\xBD c1\xEF\xBF\xBD"},
      // The edges of the control ranges: 0x1F and 0x9F replaced, the blank and 0xA0 kept.
      {"us\x1F sp", "us\xEF\xBF\xBD sp"},
      {"\x9F"
       "\xA0",
       "\xEF\xBF\xBD\xC2\xA0"},
      {"\xC2\x9F\xC2\xA0", "\xEF\xBF\xBD\xC2\xA0"},
      {"c1 in utf-8 \xC2\x85", "c1 in utf-8 \xEF\xBF\xBD"},
      {"line\r\nend",
       "line\xEF\xBF\xBD\xEF\xBF\xBD"
       "end"},
  };
  for (const Case& c : cases) EXPECT_EQ(escaped(c.text), c.expected) << c.text;
}

}  // namespace
}  // namespace varisift
