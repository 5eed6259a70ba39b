// Fuzz target: LineReader::read_line and at_end over arbitrary bytes. The
// lines read, each followed by the line end that stands after it in the
// input (LF, CR LF or a lone CR), must give back the whole input. The first
// input byte chooses where the rest lands in the stream: at its start, or
// straddling the end of the reader's first block (after a filler line, or
// continuing one block-long line); the second byte says how many of its bytes
// come before that end. So line ends split across two reads and the growth
// of the buffer for a long line are exercised. For input at the start of the
// stream, BlockReader must give the same lines in blocks of a few bytes
// (the second byte sets the size), also when each block is split in two at
// next_line_start (the first byte sets where) and the parts are cut into
// lines separately, as the catalogue reader does on two cores.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "io/block_reader.h"
#include "io/line_reader.h"

namespace {

constexpr std::size_t max_input = 64 * 1024;
// The reader's block size (src/io/line_reader.cpp).
constexpr std::size_t reader_block = std::size_t{1} << 22;

std::vector<std::string> line_reader_lines(std::string& bytes) {
  std::FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
  varisift::LineReader reader(file);
  std::vector<std::string> lines;
  while (!reader.at_end()) lines.emplace_back(reader.read_line());
  std::fclose(file);
  return lines;
}

std::vector<std::string> block_reader_lines(std::string& bytes, std::size_t block_bytes, unsigned split_64ths) {
  std::FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
  varisift::FileSource source(file);
  varisift::BlockReader reader(source, block_bytes);
  std::vector<std::string> lines;
  std::string_view block;
  while (reader.next_block(block)) {
    fuzz::check(!block.empty(), "a block holds at least one line");
    std::size_t middle = varisift::next_line_start(block, block.size() * split_64ths / 64);
    fuzz::check(middle <= block.size(), "the split lies inside the block");
    for (std::string_view part : {block.substr(0, middle), block.substr(middle)})
      while (!part.empty()) lines.emplace_back(varisift::next_line(part));
  }
  fuzz::check(!reader.next_block(block), "the end stays the end");
  std::fclose(file);
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzz::check;
  if (size < 2 || size > max_input) return 0;
  const unsigned mode = data[0] % 3;
  const std::size_t shift = data[1];  // payload bytes before the block boundary
  std::string_view payload(reinterpret_cast<const char*>(data + 2), size - 2);

  std::string stream;
  if (mode == 1) {
    stream.assign(reader_block - shift - 1, 'a');
    stream += '\n';
  } else if (mode == 2) {
    stream.assign(reader_block - shift, 'b');
  }
  stream += payload;

  std::FILE* file = fmemopen(stream.data(), stream.size(), "rb");
  check(file != nullptr, "memory file opens");
  varisift::LineReader reader(file);
  // Each line must be the next bytes of the input, followed by one line end
  // (LF, CR LF or a lone CR) or by the end of the input.
  std::string_view rest = stream;
  while (!reader.at_end()) {
    std::string_view line = reader.read_line();
    check(rest.substr(0, line.size()) == line, "a line is the next bytes of the input");
    rest.remove_prefix(line.size());
    check(std::memchr(line.data(), '\r', line.size()) == nullptr &&
              std::memchr(line.data(), '\n', line.size()) == nullptr,
          "a line holds no line end");
    if (rest.empty()) break;
    check(rest.front() == '\r' || rest.front() == '\n', "a line ends at a line end");
    bool cr = rest.front() == '\r';
    rest.remove_prefix(1);
    if (cr && !rest.empty() && rest.front() == '\n') rest.remove_prefix(1);
  }
  check(rest.empty(), "the lines cover the whole input");
  check(reader.at_end() && reader.read_line().empty() && reader.at_end(), "the end stays the end");
  std::fclose(file);

  if (mode == 0) {
    std::string bytes(payload);
    std::vector<std::string> expected = line_reader_lines(bytes);
    fuzz::check(block_reader_lines(bytes, 1 + shift % 64, data[0] / 4 % 64) == expected,
                "blocks of whole lines give the lines of the line reader");
  }
  return 0;
}
