#include "app/video_environment.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Environment = std::map<std::string, std::string>;

std::string choicesText(const Environment& environment, bool classic) {
  const EnvironmentLookup lookup = [&environment](const char* name) -> const char* {
    const auto found = environment.find(name);
    return found == environment.end() ? nullptr : found->second.c_str();
  };
  std::string text;
  for (const EnvironmentSetting& choice : videoEnvironmentChoices(lookup, classic)) {
    text += choice.name + "=" + choice.value + " ";
  }
  return text;
}

TEST(VideoEnvironment, SetsOnlyWhatTheUserLeftUnset) {
  struct Case {
    Environment environment;
    bool classic;
    const char* choices;
  };
  const Case cases[] = {
      {{}, true, "SDL_VIDEODRIVER=x11 SDL_VIDEO_FULLSCREEN_DISPLAY=0 "},
      {{{"SDL_VIDEODRIVER", ""}}, true, "SDL_VIDEODRIVER=x11 SDL_VIDEO_FULLSCREEN_DISPLAY=0 "},
      {{{"SDL_VIDEODRIVER", "dga"}}, true, "SDL_VIDEO_FULLSCREEN_DISPLAY=0 "},
      {{{"WAYLAND_DISPLAY", "wayland-0"}},
       true,
       "SDL_VIDEODRIVER=x11 SDL_VIDEO_X11_VIDMODE=0 SDL_VIDEO_FULLSCREEN_DISPLAY=0 "},
      {{{"WAYLAND_DISPLAY", ""}}, true, "SDL_VIDEODRIVER=x11 SDL_VIDEO_FULLSCREEN_DISPLAY=0 "},
      {{{"WAYLAND_DISPLAY", "wayland-0"}, {"SDL_VIDEO_X11_VIDMODE", ""}},
       true,
       "SDL_VIDEODRIVER=x11 SDL_VIDEO_FULLSCREEN_DISPLAY=0 "},
      {{{"SDL_VIDEO_FULLSCREEN_DISPLAY", "1"}}, true, "SDL_VIDEODRIVER=x11 "},
      {{{"SDL_VIDEO_FULLSCREEN_HEAD", "1"}}, true, "SDL_VIDEODRIVER=x11 "},
      {{{"WAYLAND_DISPLAY", "wayland-0"}}, false, "SDL_VIDEODRIVER=x11 "},
      {{{"SDL_VIDEODRIVER", "wayland"}, {"WAYLAND_DISPLAY", "wayland-0"}}, false, ""},
  };
  for (const Case& c : cases) {
    std::string given;
    for (const auto& [name, value] : c.environment) given += name + "=" + value + " ";
    EXPECT_EQ(choicesText(c.environment, c.classic), c.choices)
        << given << (c.classic ? "classic" : "sdl12-compat");
  }
}

TEST(VideoEnvironment, ClassicSdlIsToldFromSdl12CompatByItsVersion) {
  EXPECT_TRUE(isClassicSdl(SDL_version{1, 2, 15}));
  EXPECT_FALSE(isClassicSdl(SDL_version{1, 2, 50}));
  EXPECT_FALSE(isClassicSdl(SDL_version{1, 2, 68}));
}

TEST(VideoDriverAdvice, OnlyForADriverOtherThanX11ThatSdlCouldNotUse) {
  struct Case {
    const char* driver;
    const char* error;
    bool advised;
  };
  const Case cases[] = {
      {"wayland", "No available video device", true},
      {"wayland", "wayland not available", true},
      {"x11", "No available video device", false},
      {nullptr, "No available video device", false},
      {"", "No available video device", false},
      {"wayland", "Couldn't find matching GLX visual", false},
      {"wayland", "bogus not available", false},
  };
  for (const Case& c : cases) {
    const std::string advice = videoDriverAdvice(c.driver, c.error);
    EXPECT_EQ(!advice.empty(), c.advised) << (c.driver ? c.driver : "(unset)") << ": " << c.error;
  }
  EXPECT_EQ(videoDriverAdvice("wayland", "No available video device"),
            "geosandbox: SDL_VIDEODRIVER=wayland names a video driver this SDL cannot use; "
            "unset SDL_VIDEODRIVER or set it to x11\n");
}

}  // namespace
