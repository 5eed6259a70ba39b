// CSV fields are quoted only where RFC 4180 asks for it.
#include "export/csv_rows.h"

#include <gtest/gtest.h>

namespace varisift {
namespace {

TEST(CsvRows, QuotesFieldsWithCommaQuoteOrLineEndOnly) {
  std::string row;
  append_csv_row(row, {"D:\\obs\\m67.fit", "a,b", "say \"hi\"", "two\nlines", "cr\r", ""});
  EXPECT_EQ(row, "D:\\obs\\m67.fit,\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",\"cr\r\",\r\n");
}

}  // namespace
}  // namespace varisift
