// The console's rules for requests, and its recorded script read back by the
// script parser at the frames it was recorded in.
#include <gtest/gtest.h>

#include "page_actions.h"
#include "recorded_script.h"
#include "request_guard.h"
#include "script_parser.h"

namespace vorlanex::tool {
namespace {

TEST(ConsoleRules, RefuseWhatDoesNotComeFromThePageOfThisRun) {
  const RequestGuard guard("0123456789abcdef0123456789abcdef", 8042);
  const std::string token = "?token=0123456789abcdef0123456789abcdef";
  struct Case {
    const char* method;
    std::string target;
    const char* host;
    const char* origin;
    bool allowed;
  } cases[] = {
      {"GET", "/index.html" + token, "127.0.0.1:8042", "", true},
      {"GET", "/api/state" + token + "&after=3", "localhost:8042", "", true},
      {"GET", "/api/state?after=3&token=0123456789abcdef0123456789abcdef", "LOCALHOST", "", true},
      {"POST", "/api/action" + token, "127.0.0.1:8042", "http://127.0.0.1:8042", true},
      {"POST", "/api/action" + token, "127.0.0.1:8042", "http://localhost:8042", true},
      {"GET", "/index.html", "127.0.0.1:8042", "", false},
      {"GET", "/index.html?token=0123456789abcdef0123456789abcdeF", "127.0.0.1:8042", "", false},
      {"GET", "/index.html?token=0123456789abcdef0123456789abcde", "127.0.0.1:8042", "", false},
      {"GET", "/index.html?xtoken=0123456789abcdef0123456789abcdef", "127.0.0.1:8042", "", false},
      {"GET", "/index.html" + token, "", "", false},
      {"GET", "/index.html" + token, "127.0.0.1:8043", "", false},
      {"GET", "/index.html" + token, "localhost.evil.example:8042", "", false},
      {"GET", "/index.html" + token, "evil.example", "", false},
      {"GET", "/index.html" + token, "127.0.0.1.nip.io:8042", "", false},
      {"POST", "/api/action" + token, "127.0.0.1:8042", "http://evil.example", false},
      {"POST", "/api/action" + token, "127.0.0.1:8042", "https://127.0.0.1:8042", false},
      {"POST", "/api/action" + token, "127.0.0.1:8042", "null", false},
      {"GET", "/api/action" + token, "127.0.0.1:8042", "", false},
      {"GET", "/api/script" + token, "127.0.0.1:8042", "", false},
      {"PUT", "/api/action" + token, "127.0.0.1:8042", "", false},
      {"POST", "/index.html" + token, "127.0.0.1:8042", "", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(guard.refusal({c.method, c.target, c.host, c.origin}).empty(), c.allowed)
        << c.method << " " << c.target << " Host: " << c.host << " Origin: " << c.origin;
  }
}

TEST(ConsoleRules, RecordedStepsAreReadBackAtTheirFrames) {
  // Frames whose times are not round: the script must not name a time after
  // its frame, or run would carry the step out a frame late.
  for (const double fps : {18.0, 24.0, 30.0, 60.0, 7.0}) {
    std::vector<Step> steps;
    RunRecord record{fps, 0, {}, {}};
    for (int frame : {0, 1, 5, 17, 27, 1000, 99999}) {
      steps.push_back(variableStep(Action::kSet, "cabin_fan", -200002.5));
      record.frames = frame + 1;
    }
    const int frames[] = {0, 1, 5, 17, 27, 1000, 99999};
    for (std::size_t i = 0; i < steps.size(); ++i) {
      record.events.push_back({frames[i], frames[i] * (1.0 / fps), &steps[i]});
    }
    const Script script = parseScript("recorded", recordedScript(record, "two\nlines"));
    ASSERT_EQ(script.steps.size(), steps.size() + 1);
    for (std::size_t i = 0; i < script.steps.size(); ++i) {
      const int frame = i < steps.size() ? frames[i] : record.frames - 1;
      // run carries a step out in the first frame whose time reaches it.
      EXPECT_LE(script.steps[i].at, frame * (1.0 / fps) + 1e-9) << fps << " fps, frame " << frame;
      EXPECT_GT(script.steps[i].at, (frame - 1) * (1.0 / fps) + 1e-9) << fps << " fps, frame " << frame;
    }
    EXPECT_EQ(script.steps[0].value, -200002.5);
    EXPECT_EQ(script.steps.back().action, Action::kWait);
  }
}

// The page shows and sends the numbers the module's own encoding gives.
TEST(ConsoleRules, CommandsAreEncodedAsTheModuleDecodesThem) {
  const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
      {R"({"code":2,"pan":-2000})", -200002}, {R"({"code":1,"pan":10000})", 1000001},
      {R"({"code":0,"pan":-500})", 0},        {R"({"code":3,"pan":0})", 3},
      {R"({"code":5,"pan":0})", std::nullopt}, {R"({"code":1,"pan":10001})", std::nullopt},
      {R"({"code":1.5,"pan":0})", std::nullopt}, {R"([1,2])", std::nullopt},
  };
  for (const auto& [body, value] : cases) {
    std::string refusal;
    EXPECT_EQ(readCommandValue(body, refusal), value) << body;
    EXPECT_EQ(refusal.empty(), value.has_value()) << body;
  }
}

}  // namespace
}  // namespace vorlanex::tool
