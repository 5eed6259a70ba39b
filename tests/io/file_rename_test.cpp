// On Windows a destination that another program holds open refuses the
// rename, which is tried again until the file is let go.
#include "io/file_rename.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace varisift {
namespace {

namespace fs = std::filesystem;

std::string read(const fs::path& file) {
  std::ostringstream text;
  text << std::ifstream(file, std::ios::binary).rdbuf();
  return text.str();
}

// A handle that lets no other program read, write or delete the file, as a
// spreadsheet holds the file it shows.
HANDLE hold(const fs::path& file) {
  return CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

TEST(FileRename, ADestinationHeldOpenRefusesUntilItIsLetGo) {
  const fs::path folder = fs::temp_directory_path() / "varisift-rename-test";
  fs::create_directories(folder);
  const fs::path part = folder / "page.html.part", page = folder / "page.html";
  std::ofstream(part, std::ios::binary) << "new";
  std::ofstream(page, std::ios::binary) << "old";

  HANDLE held = hold(page);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(rename_over(part.string(), page.string()));
  CloseHandle(held);
  EXPECT_EQ(read(page), "old");

  // Let go while the rename is being tried again.
  held = hold(page);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::thread let_go([held] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    CloseHandle(held);
  });
  EXPECT_FALSE(rename_over(part.string(), page.string()));
  let_go.join();
  EXPECT_EQ(read(page), "new");
  fs::remove_all(folder);
}

}  // namespace
}  // namespace varisift
#endif
