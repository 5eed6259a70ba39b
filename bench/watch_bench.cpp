// The watch measured on a whole series (see bench/README.md, "Watching a
// growing log"). Two measurements:
//
//   watch_bench follow VARISIFT SERIES_DIR WORK_DIR [INTERVAL]
//     Starts `varisift --watch=INTERVAL --csv out --html page.html` in
//     WORK_DIR before the log is there, then appends SERIES_DIR/Skymensor.log
//     one photometry table every half second, each in two writes that end in
//     the middle of a line (the second a quarter of a second after the first;
//     a piece ends halfway through the line that closes its table). Each
//     refresh's files are copied as soon as its console line appears. Then
//     every refresh is compared with a run without --watch on the log cut
//     where the refresh read it, and the latency of every table is taken:
//     from the write that completes the line closing it to the console line
//     of the first refresh that read it (whose files are written just
//     before). Ctrl+C ends the watch.
//
//   watch_bench idle VARISIFT SERIES_DIR WORK_DIR INTERVAL SECONDS
//     Watches the complete log and, after its first refresh, counts the
//     processor time of the watching process over SECONDS of idling.
//
// Linux only (fork, /proc). Prints `name value` lines.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr auto table_pause = std::chrono::milliseconds(500);
constexpr auto console_poll = std::chrono::milliseconds(10);
const std::string photometry_key = "Photometry of Image ";
const std::string refresh_key = " read ";

std::string read_file(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void write_file(const fs::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Starts the program in dir with its console and error stream in files.
pid_t start(const std::string& program, const fs::path& dir, const std::vector<std::string>& arguments) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  fs::current_path(dir);
  std::freopen("console.txt", "wb", stdout);
  std::freopen("errors.txt", "wb", stderr);
  std::freopen("/dev/null", "rb", stdin);
  std::vector<char*> argv = {const_cast<char*>(program.c_str())};
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execv(program.c_str(), argv.data());
  _exit(127);
}

int finish(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Processor time (user and system) of a running process, in seconds.
double cpu_seconds(pid_t pid) {
  std::string stat = read_file("/proc/" + std::to_string(pid) + "/stat");
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  std::string field;
  unsigned long long user = 0, system = 0;
  for (int k = 3; k <= 15 && fields >> field; ++k) {
    if (k == 14) user = std::stoull(field);
    if (k == 15) system = std::stoull(field);
  }
  return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct RefreshSeen {
  std::uint64_t bytes = 0;
  Clock::time_point when;
  fs::path files;  // the copies of its files
};

// The byte counts of the refresh lines of a console, in order.
std::vector<std::uint64_t> refresh_bytes(const std::string& console) {
  std::vector<std::uint64_t> bytes;
  std::istringstream lines(console);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t at = line.find(refresh_key);
    if (at == 8 && line.find(" bytes: ") != std::string::npos)
      bytes.push_back(std::stoull(line.substr(at + refresh_key.size())));
  }
  return bytes;
}

void copy_exports(const fs::path& from, const fs::path& to) {
  fs::create_directories(to / "out");
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(from / "out", ec))
    fs::copy_file(e.path(), to / "out" / e.path().filename(), ec);
  fs::copy_file(from / "page.html", to / "page.html", ec);
}

// The files of a run, the page without its refresh line and run time.
std::map<std::string, std::string> exports_of(const fs::path& dir) {
  std::map<std::string, std::string> files;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(dir / "out", ec))
    files[e.path().filename().string()] = read_file(e.path());
  std::string page = read_file(dir / "page.html");
  const std::size_t refresh = page.find("<meta http-equiv=\"refresh\"");
  if (refresh != std::string::npos) page.erase(refresh, page.find('\n', refresh) + 1 - refresh);
  const std::string run_at = "Varisift run at ";
  const std::size_t at = page.find(run_at);
  if (at != std::string::npos) page.replace(at + run_at.size(), 19, "MM-DD-YYYY HH:MM:SS");
  files["page.html"] = page;
  return files;
}

// Where each table's closing line (the first later line that begins with
// a non-blank) ends, and the piece ends: halfway through those lines.
struct Layout {
  std::vector<std::size_t> closing_end;
  std::vector<std::size_t> piece_end;
};

Layout layout_of(const std::string& log) {
  Layout layout;
  for (std::size_t at = log.find(photometry_key); at != std::string::npos; at = log.find(photometry_key, at + 1)) {
    std::size_t line = log.find('\n', at) + 1;
    while (line < log.size() && (log[line] == ' ' || log[line] == '\r' || log[line] == '\n'))
      line = log.find('\n', line) + 1;
    if (line == 0 || line >= log.size()) break;
    const std::size_t end = log.find('\n', line) + 1;
    layout.closing_end.push_back(end);
    layout.piece_end.push_back(line + (end - line) / 2);
  }
  layout.piece_end.push_back(log.size());
  return layout;
}

int follow(const std::string& program, const fs::path& series, const fs::path& work, int interval) {
  const std::string log = read_file(series / "Skymensor.log");
  const Layout layout = layout_of(log);
  fs::create_directories(work / "watch");
  fs::copy_file(series / "vsx.dat", work / "watch" / "vsx.dat", fs::copy_options::overwrite_existing);
  const pid_t watch =
      start(program, work / "watch", {"--watch=" + std::to_string(interval), "--csv", "out", "--html", "page.html"});

  // The writer: a piece per table, each in two writes.
  std::vector<Clock::time_point> completed(layout.piece_end.size());  // the write that starts piece k
  std::atomic<bool> written{false};
  std::thread writer([&] {
    std::ofstream out(work / "watch" / "Skymensor.log", std::ios::binary);
    std::size_t from = 0;
    for (std::size_t k = 0; k < layout.piece_end.size(); ++k) {
      const std::size_t to = layout.piece_end[k], middle = from + (to - from) / 2;
      out.write(log.data() + from, static_cast<std::streamsize>(middle - from));
      out.flush();
      completed[k] = Clock::now();
      std::this_thread::sleep_for(table_pause / 2);
      out.write(log.data() + middle, static_cast<std::streamsize>(to - middle));
      out.flush();
      std::this_thread::sleep_for(table_pause / 2);
      from = to;
    }
    written = true;
  });

  std::vector<RefreshSeen> seen;
  for (;;) {
    const std::vector<std::uint64_t> bytes = refresh_bytes(read_file(work / "watch" / "console.txt"));
    for (std::size_t k = seen.size(); k < bytes.size(); ++k) {
      RefreshSeen r{bytes[k], Clock::now(), work / ("refresh-" + std::to_string(k + 1))};
      copy_exports(work / "watch", r.files);
      seen.push_back(r);
    }
    if (written && !seen.empty() && seen.back().bytes == log.size()) break;
    std::this_thread::sleep_for(console_poll);
  }
  writer.join();
  kill(watch, SIGINT);
  const int status = finish(watch);

  // Latency: table k's closing line is completed by the first write of piece k + 1.
  std::vector<double> latency;
  for (std::size_t k = 0; k < layout.closing_end.size(); ++k) {
    for (const RefreshSeen& r : seen) {
      if (r.bytes < layout.closing_end[k] || r.when < completed[k + 1]) continue;
      latency.push_back(std::chrono::duration<double>(r.when - completed[k + 1]).count());
      break;
    }
  }
  std::sort(latency.begin(), latency.end());
  double sum = 0;
  for (double l : latency) sum += l;

  // Identity with runs on the cut log.
  std::size_t identical = 0;
  for (const RefreshSeen& r : seen) {
    const fs::path batch = work / "batch";
    fs::remove_all(batch);
    fs::create_directories(batch);
    write_file(batch / "Skymensor.log", std::string_view(log).substr(0, r.bytes));
    fs::copy_file(series / "vsx.dat", batch / "vsx.dat");
    finish(start(program, batch, {"--csv", "out", "--html", "page.html"}));
    if (exports_of(batch) == exports_of(r.files)) {
      ++identical;
    } else {
      std::cout << "differs " << r.files.string() << " (" << r.bytes << " bytes)\n";
    }
  }
  std::cout << "tables " << layout.closing_end.size() << "\nrefreshes " << seen.size() << "\nidentical " << identical
            << "\nlatency_tables " << latency.size() << "\nlatency_mean_s "
            << (latency.empty() ? 0 : sum / latency.size()) << "\nlatency_median_s "
            << (latency.empty() ? 0 : latency[latency.size() / 2]) << "\nlatency_max_s "
            << (latency.empty() ? 0 : latency.back()) << "\nexit_status " << status << "\n";
  return identical == seen.size() && latency.size() == layout.closing_end.size() && status == 0 ? 0 : 1;
}

int idle(const std::string& program, const fs::path& series, const fs::path& work, int interval, int seconds) {
  fs::create_directories(work / "idle");
  for (const char* name : {"Skymensor.log", "vsx.dat"})
    fs::copy_file(series / name, work / "idle" / name, fs::copy_options::overwrite_existing);
  const pid_t watch =
      start(program, work / "idle", {"--watch=" + std::to_string(interval), "--csv", "out", "--html", "page.html"});
  while (refresh_bytes(read_file(work / "idle" / "console.txt")).empty()) std::this_thread::sleep_for(console_poll);
  const double before = cpu_seconds(watch);
  const Clock::time_point start_time = Clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const double used = cpu_seconds(watch) - before;
  const double elapsed = std::chrono::duration<double>(Clock::now() - start_time).count();
  kill(watch, SIGINT);
  const int status = finish(watch);
  std::cout << "idle_interval_s " << interval << "\nidle_wall_s " << elapsed << "\nidle_cpu_s " << used
            << "\nidle_cpu_percent " << 100.0 * used / elapsed << "\nexit_status " << status << "\n";
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> a(argv + 1, argv + argc);
  if (a.size() >= 4 && a[0] == "follow") return follow(a[1], a[2], a[3], a.size() > 4 ? std::stoi(a[4]) : 2);
  if (a.size() == 6 && a[0] == "idle") return idle(a[1], a[2], a[3], std::stoi(a[4]), std::stoi(a[5]));
  std::cerr << "usage: watch_bench follow VARISIFT SERIES_DIR WORK_DIR [INTERVAL]\n"
               "       watch_bench idle VARISIFT SERIES_DIR WORK_DIR INTERVAL SECONDS\n";
  return 2;
}
