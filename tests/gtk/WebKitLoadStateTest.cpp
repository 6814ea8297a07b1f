// Where a view's top-level document stands as its own requests and WebKit's load events come,
// and what each event leaves to report.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "gtk/WebKitLoadState.h"

namespace {

// Runs the steps, one word each; LoadStarted's answers are "u" (unannounced) or "-", Finished's
// "r" (reported) or "s" (silent).
std::string RunSteps(gtkui::WebKitLoadState& state, const std::string& steps) {
  std::istringstream words(steps);
  std::string answers;
  for (std::string step; words >> step;) {
    if (step == "top")
      state.StartTopLevel(false);
    else if (step == "memory")
      state.StartTopLevel(true);
    else if (step == "reload")
      state.StartReload();
    else if (step == "started")
      answers += state.LoadStarted() ? "u" : "-";
    else if (step == "failed")
      state.FailedBeforeCommit();
    else if (step == "committed")
      state.Committed();
    else if (step == "finished")
      answers += state.Finished() ? "r" : "s";
    else
      ADD_FAILURE() << "no step " << step;
  }
  return answers;
}

// One letter for each question, "." for no: Document, Pending, Loading, Memory document,
// Reloading.
std::string Flags(const gtkui::WebKitLoadState& state) {
  std::string flags;
  flags += state.HasDocument() ? 'D' : '.';
  flags += state.Pending() ? 'P' : '.';
  flags += state.DocumentLoading() ? 'L' : '.';
  flags += state.MemoryDocument() ? 'M' : '.';
  flags += state.Reloading() ? 'R' : '.';
  return flags;
}

TEST(WebKitLoadState, FollowsRequestsAndLoadEvents) {
  const struct {
    const char* steps;
    const char* answers;
    const char* flags;
  } cases[] = {
      {"", "", "....."},
      {"top", "", ".P..."},
      {"top started committed", "-", "D.L.."},
      {"top started committed finished", "-r", "D...."},
      // A page from memory stays one through its reload; the next address ends that.
      {"memory started committed finished", "-r", "D..M."},
      {"memory started committed finished reload", "-r", "DP.MR"},
      {"memory started committed finished reload started committed", "-r-", "D.LMR"},
      {"memory started committed finished reload started committed finished", "-r-r", "D..M."},
      {"memory started committed finished top started committed", "-r-", "D.L.."},
      // A load that fails before its document comes reports no end and keeps the old document.
      {"top started failed finished", "-s", "....."},
      {"top started committed finished top started failed finished", "-r-s", "D...."},
      {"top started committed finished reload started failed", "-r-", "D...."},
      // Only that one end is silent.
      {"top started failed finished top started committed finished", "-s-r", "D...."},
      // A load that begins after the failure clears it; WebKit's own loads are unannounced.
      {"top started failed started", "-u", "....."},
      {"top started committed finished started", "-ru", "D...."},
      // A navigation replaces a reload on its way.
      {"top started committed finished reload top", "-r", "DP..."},
  };
  for (const auto& c : cases) {
    gtkui::WebKitLoadState state;
    EXPECT_EQ(RunSteps(state, c.steps), c.answers) << c.steps;
    EXPECT_EQ(Flags(state), c.flags) << c.steps;
  }
}

}  // namespace
