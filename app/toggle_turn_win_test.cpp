#include "app/toggle_turn_win.h"

#include <gtest/gtest.h>

#include "bar/errors.h"
#include "bar/unicode.h"
#include "tests/toggle_rig.h"

namespace app {
namespace {

using Events = std::vector<std::u16string>;

// Each answer of the turn's calls, played on a main bar to unfold; the calls
// log among the rig's reads, saves and reloads.
TEST(ToggleTurnTest, TogglesOnlyInItsTurnAndReloadsAfterIt) {
  const Events kToggled = {u"wait 60000",
                           u"read C:\\tc\\Bar\\main.bar",
                           u"read C:\\tc\\Bar\\tools.bar",
                           u"replace C:\\tc\\Bar\\main.bar",
                           u"release",
                           u"close",
                           u"notify 2901",
                           u"notify 2901"};
  const std::u16string kBusy =
      u"Cannot unfold or fold \"C:\\tc\\Bar\\tools.bar\": another run of Kelvane is still at "
      u"work on the bars; nothing was changed, click again";
  const struct {
    const char* name;
    bool created;
    DWORD waited;
    Events events;
    std::u16string report;
  } cases[] = {
      {"got_it", true, WAIT_OBJECT_0, kToggled, u""},
      {"taken_over_from_a_run_that_died", true, WAIT_ABANDONED, kToggled, u""},
      {"timed_out", true, WAIT_TIMEOUT, {u"wait 60000", u"close"}, kBusy},
      {"no_mutex", false, 0, {}, kBusy},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing_support::ToggleRig rig;
    rig.SetMain({u"[Buttonbar]", u"Buttoncount=0"});
    rig.SetSub(u"tools.bar", {u"[Buttonbar]", u"Buttoncount=0"});
    Events& events = rig.files.events;
    auto logged = [&events](const char16_t* event) { return events.push_back(event), TRUE; };
    TurnCalls calls{[&](const wchar_t*) { return c.created ? GetCurrentProcess() : nullptr; },
                    [&](HANDLE, DWORD ms) {
                      events.push_back(u"wait " + bar::IntToStr(static_cast<int32_t>(ms)));
                      return c.waited;
                    },
                    [&](HANDLE) { return logged(u"release"); },
                    [&](HANDLE) { return logged(u"close"); }};
    bar::Toggle toggle = rig.MakeToggle(u"tools.bar");
    std::u16string report;
    try {
      EXPECT_EQ(RunToggleInTurn(toggle, calls), bar::ToggleAction::kExpand);
    } catch (const bar::Error& error) {
      report = error.message();
    }
    EXPECT_EQ(bar::ToUtf8(report), bar::ToUtf8(c.report));
    EXPECT_EQ(events, c.events);
  }
}

}  // namespace
}  // namespace app
