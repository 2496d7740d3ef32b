#include "app/video_environment.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Environment = std::map<std::string, std::string>;

std::string choicesText(const Environment& environment, bool classic, int heads) {
  const EnvironmentLookup lookup = [&environment](const char* name) -> const char* {
    const auto found = environment.find(name);
    return found == environment.end() ? nullptr : found->second.c_str();
  };
  const HeadCount countHeads = [heads] { return heads; };
  std::string text;
  for (const EnvironmentSetting& choice : videoEnvironmentChoices(lookup, classic, countHeads)) {
    text += choice.name + "=" + choice.value + " ";
  }
  return text;
}

TEST(VideoEnvironment, SetsOnlyWhatTheUserLeftUnset) {
  const std::string twoHeads = "SDL_VIDEO_FULLSCREEN_DISPLAY=0 ";
  const std::string visual = "SDL_VIDEO_X11_NODIRECTCOLOR=1 ";
  const std::string x11 = "SDL_VIDEODRIVER=x11 " + visual;
  struct Case {
    Environment environment;
    bool classic;
    int heads;
    std::string choices;
  };
  const Case cases[] = {
      {{}, true, 1, x11},
      {{}, true, -1, x11},
      {{}, true, 2, x11 + twoHeads},
      {{{"SDL_VIDEODRIVER", ""}}, true, 1, x11},
      {{{"SDL_VIDEODRIVER", "dga"}}, true, 3, visual + twoHeads},
      {{{"WAYLAND_DISPLAY", "wayland-0"}}, true, 1, x11 + "SDL_VIDEO_X11_VIDMODE=0 "},
      {{{"WAYLAND_DISPLAY", ""}}, true, 1, x11},
      {{{"WAYLAND_DISPLAY", "wayland-0"}, {"SDL_VIDEO_X11_VIDMODE", ""}}, true, 1, x11},
      {{{"SDL_VIDEO_FULLSCREEN_DISPLAY", "1"}}, true, 2, x11},
      {{{"SDL_VIDEO_FULLSCREEN_HEAD", "1"}}, true, 2, x11},
      {{{"WAYLAND_DISPLAY", "wayland-0"}}, false, 2, x11},
      {{{"SDL_VIDEODRIVER", "wayland"}, {"WAYLAND_DISPLAY", "wayland-0"}}, false, 2, visual},
      {{{"SDL_VIDEO_X11_NODIRECTCOLOR", "0"}}, false, 1, "SDL_VIDEODRIVER=x11 "},
  };
  for (const Case& c : cases) {
    std::string given;
    for (const auto& [name, value] : c.environment) given += name + "=" + value + " ";
    EXPECT_EQ(choicesText(c.environment, c.classic, c.heads), c.choices)
        << given << (c.classic ? "classic, " : "sdl12-compat, ") << c.heads << " heads";
  }
}

// Asking the X server costs a connection: only classic SDL with no head named asks.
TEST(VideoEnvironment, AsksForTheHeadsOnlyWhereTheyDecide) {
  struct Case {
    Environment environment;
    bool classic;
    bool asked;
  };
  const Case cases[] = {
      {{}, true, true},
      {{}, false, false},
      {{{"SDL_VIDEO_FULLSCREEN_HEAD", "0"}}, true, false},
  };
  for (const Case& c : cases) {
    bool asked = false;
    const EnvironmentLookup lookup = [&c](const char* name) -> const char* {
      const auto found = c.environment.find(name);
      return found == c.environment.end() ? nullptr : found->second.c_str();
    };
    videoEnvironmentChoices(lookup, c.classic, [&asked] {
      asked = true;
      return 2;
    });
    EXPECT_EQ(asked, c.asked) << (c.classic ? "classic" : "sdl12-compat");
  }
}

TEST(VideoStartAdvice, NamesWhatToCheckForTheCauseSdlGave) {
  struct Case {
    const char* driver;
    const char* error;
    const char* advice;  // a word of the advice; "" for none
  };
  const Case cases[] = {
      {"wayland", "No available video device", "SDL_VIDEODRIVER=wayland"},
      {"wayland", "wayland not available", "SDL_VIDEODRIVER=wayland"},
      {"x11", "No available video device", ""},
      {nullptr, "No available video device", ""},
      {"", "No available video device", ""},
      {"wayland", "bogus not available", ""},
      {nullptr, "Could not create GL context", "OpenGL could not start"},
      {nullptr, "Could not create GL context: BadValue", "OpenGL could not start"},
      {"x11", "Couldn't find matching GLX visual", "OpenGL could not start"},
      {nullptr, "Failed loading libGL.so.1: cannot open shared object file", "libgl1-mesa-dri"},
      {nullptr, "Couldn't open X11 display", ""},
  };
  for (const Case& c : cases) {
    const std::string advice = videoStartAdvice(c.driver, c.error);
    const std::string what = std::string(c.driver ? c.driver : "(unset)") + ": " + c.error;
    if (*c.advice == '\0') {
      EXPECT_EQ(advice, "") << what;
      continue;
    }
    EXPECT_NE(advice.find(c.advice), std::string::npos) << what << " gave " << advice;
    EXPECT_EQ(advice.find('\n'), advice.size() - 1) << what << ": one line";
  }
  EXPECT_EQ(videoStartAdvice("wayland", "No available video device"),
            "geosandbox: SDL_VIDEODRIVER=wayland names a video driver this SDL cannot use; "
            "unset SDL_VIDEODRIVER or set it to x11\n");
}

}  // namespace
