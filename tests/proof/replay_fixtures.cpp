// The replay fixtures through the engine built for another platform (as
// WebAssembly under Node, for Windows under Wine): each log replayed headless
// must end in the digest the Linux build checked in, bit for bit.
// Usage: replay_fixtures <folder of .log and .digest files>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "harness/replay.h"

namespace {

std::string contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: replay_fixtures <folder of logs>\n");
    return 2;
  }
  std::vector<std::filesystem::path> logs;
  std::error_code unreadable;
  for (const auto& entry : std::filesystem::directory_iterator(argv[1], unreadable))
    if (entry.path().extension() == ".log") logs.push_back(entry.path());
  std::sort(logs.begin(), logs.end());
  int passed = 0;
  int failed = 0;
  for (const auto& log : logs) {
    // A digest checked out on Windows may end its line with CR LF.
    std::string expected = contents(std::filesystem::path(log).replace_extension(".digest"));
    while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r')) expected.pop_back();
    const std::string actual = tessaly::digestText(tessaly::replay(tessaly::parseLog(contents(log))));
    const bool same = actual == expected;
    const std::string verdict = same ? "as recorded" : "but " + expected + " was recorded";
    std::printf("%s: %s %s\n", log.stem().string().c_str(), actual.c_str(), verdict.c_str());
    ++(same ? passed : failed);
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 && passed > 0 ? 0 : 1;
}
