#include "app/window_options.h"

#include <gtest/gtest.h>

#include "app/display_presence.h"

namespace pralix {
namespace {

using Action = WindowOptions::Action;

struct OptionCase {
  QStringList args;
  Action action;
  QString traceFile = {};
  QString platform = {};
  bool exitWhenShown = false;
  bool displayNamed = false;
};

class WindowOptionsTest : public ::testing::TestWithParam<OptionCase> {};

TEST_P(WindowOptionsTest, ReadsTheArguments) {
  const OptionCase& c = GetParam();
  const WindowOptions options = ParseWindowOptions(c.args);
  EXPECT_EQ(options.action, c.action) << c.args.join(' ').toStdString() << ": " << options.error.toStdString();
  if (c.action == Action::UsageError) {
    EXPECT_FALSE(options.error.isEmpty());
    return;
  }
  EXPECT_EQ(options.traceFile, c.traceFile);
  EXPECT_EQ(options.platform, c.platform);
  EXPECT_EQ(options.exitWhenShown, c.exitWhenShown);
  EXPECT_EQ(options.displayNamed, c.displayNamed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowOptionsTest,
    ::testing::Values(
        OptionCase{{}, Action::RunWindow},
        OptionCase{{"--trace", "t.txt", "--exit-when-shown"}, Action::RunWindow, "t.txt", {}, true},
        OptionCase{{"--trace"}, Action::UsageError},
        OptionCase{{"--help"}, Action::ShowHelp},
        OptionCase{{"-h"}, Action::ShowHelp},
        OptionCase{{"--version"}, Action::ShowVersion},
        OptionCase{{"-V"}, Action::ShowVersion},
        OptionCase{{"-style", "fusion", "--version"}, Action::ShowVersion},
        // Qt's options, with one dash or two, their value after a blank or "="
        OptionCase{{"-style", "fusion"}, Action::RunWindow},
        OptionCase{{"-style=fusion"}, Action::RunWindow},
        OptionCase{{"--style", "fusion"}, Action::RunWindow},
        OptionCase{{"-stylesheet", "a.qss", "-stylesheet=b.qss"}, Action::RunWindow},
        OptionCase{{"-platform", "offscreen"}, Action::RunWindow, {}, "offscreen"},
        OptionCase{{"--platform", "vnc:size=800x600"}, Action::RunWindow, {}, "vnc:size=800x600"},
        OptionCase{{"-display", ":1", "-geometry", "800x600+0+0"}, Action::RunWindow, {}, {}, false, true},
        OptionCase{{"-reverse", "-widgetcount", "-qwindowtitle", "Shop 3", "-qwindowgeometry", "100x100"},
                   Action::RunWindow},
        OptionCase{{"-platformtheme", "gtk3", "-platformpluginpath", "/p", "-plugin", "evdevtablet"}, Action::RunWindow},
        OptionCase{{"-qwindowicon", "i.png", "-session", "s1", "-qmljsdebugger=port:3768"}, Action::RunWindow},
        OptionCase{{"-nograb", "-dograb"}, Action::RunWindow},
        // a Qt option's value may look like an option of the tool
        OptionCase{{"-qwindowtitle", "--help"}, Action::RunWindow},
        OptionCase{{"-qwindowtitle", "x", "--trace", "f"}, Action::RunWindow, "f"},
        // what neither the tool nor Qt knows
        OptionCase{{"-stlye", "fusion"}, Action::UsageError},
        OptionCase{{"fusion"}, Action::UsageError},
        OptionCase{{"-"}, Action::UsageError},
        OptionCase{{"--"}, Action::UsageError},
        OptionCase{{"-platform=offscreen"}, Action::UsageError},  // Qt takes no "=" here
        OptionCase{{"-reverse=1"}, Action::UsageError},
        OptionCase{{"-style"}, Action::UsageError},
        OptionCase{{"-platform"}, Action::UsageError},
        OptionCase{{"--exit-when-shown", "-x"}, Action::UsageError}));

TEST(WindowOptionsTest, UsageErrorNamesTheArgument) {
  EXPECT_TRUE(ParseWindowOptions({"-stlye"}).error.contains("-stlye"));
  EXPECT_TRUE(ParseWindowOptions({"-geometry"}).error.contains("-geometry"));
}

struct DisplayCase {
  DisplaySetting setting;
  bool lacks;
};

class DisplayPresenceTest : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayPresenceTest, TellsWhetherTheWindowCanOpen) {
  const DisplaySetting& s = GetParam().setting;
  EXPECT_EQ(LacksDisplay(s), GetParam().lacks)
      << "option=" << s.platformOption.toStdString() << " QT_QPA_PLATFORM=" << s.qpaPlatform.toStdString()
      << " DISPLAY=" << s.display.toStdString() << " WAYLAND_DISPLAY=" << s.waylandDisplay.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DisplayPresenceTest,
    ::testing::Values(DisplayCase{{}, true},
                      DisplayCase{{{}, {}, ":0", {}}, false},
                      DisplayCase{{{}, {}, {}, "wayland-0"}, false},
                      DisplayCase{{{}, {}, {}, {}, true}, false},  // -display :1
                      DisplayCase{{"offscreen", {}, {}, {}}, false},
                      DisplayCase{{{}, "offscreen", {}, {}}, false},
                      DisplayCase{{{}, "vnc:size=800x600", {}, {}}, false},
                      DisplayCase{{{}, "linuxfb", {}, {}}, false},
                      DisplayCase{{{}, "xcb", {}, {}}, true},
                      DisplayCase{{{}, "wayland-egl", {}, {}}, true},
                      DisplayCase{{{}, "wayland;xcb", {}, {}}, true},
                      DisplayCase{{{}, "wayland;offscreen", {}, {}}, false},
                      DisplayCase{{"xcb", "offscreen", {}, {}}, true},  // the option wins
                      DisplayCase{{"minimal", "xcb", {}, {}}, false},
                      DisplayCase{{{}, ";", {}, {}}, true}));

}  // namespace
}  // namespace pralix
