#include "app/video_environment.h"

#include <cstdlib>
#include <cstring>

#include "app/xlib.h"

namespace {

bool isSet(const EnvironmentLookup& lookup, const char* name) {
  return lookup(name) != nullptr;
}

bool isSetNonEmpty(const EnvironmentLookup& lookup, const char* name) {
  const char* value = lookup(name);
  return value && *value;
}

}  // namespace

bool isClassicSdl(const SDL_version& linked) {
  return linked.major == 1 && linked.minor == 2 && linked.patch < 50;
}

std::vector<EnvironmentSetting> videoEnvironmentChoices(const EnvironmentLookup& lookup,
                                                        bool classicSdl,
                                                        const HeadCount& countHeads) {
  std::vector<EnvironmentSetting> choices;
  // Without a user choice, SDL 1.2 falls back from X11 to text-mode drivers that write
  // escape sequences to standard output; X11 makes a missing display fail cleanly.
  if (!isSetNonEmpty(lookup, "SDL_VIDEODRIVER")) choices.push_back({"SDL_VIDEODRIVER", "x11"});
  // Both SDLs pick a DirectColor visual for OpenGL where the server has one, for gamma ramps
  // the program never sets; such a window's frame has been seen painted black under
  // mutter --x11. TrueColor is what other GL programs get, and the pixels are the same.
  if (!isSet(lookup, "SDL_VIDEO_X11_NODIRECTCOLOR")) {
    choices.push_back({"SDL_VIDEO_X11_NODIRECTCOLOR", "1"});
  }
  if (!classicSdl) return choices;
  // Xwayland answers classic SDL's XF86VidMode switch to 1024x768 by scaling that one
  // window over the whole output, which stretches the 4:3 picture. Without the switch
  // SDL centres the picture, black around it; a Wayland session cannot change the
  // monitor's real mode in any case, so nothing else is lost.
  if (isSetNonEmpty(lookup, "WAYLAND_DISPLAY") && !isSet(lookup, "SDL_VIDEO_X11_VIDMODE")) {
    choices.push_back({"SDL_VIDEO_X11_VIDMODE", "0"});
  }
  // Without a head named, classic SDL spreads a full-screen window over every Xinerama
  // head and centres the picture on the seam; the first head is where sdl12-compat puts
  // it. A head named also turns off SDL's XF86VidMode switch, so with one monitor, where
  // that switch gives the full-screen mode, nothing is named.
  if (!isSet(lookup, "SDL_VIDEO_FULLSCREEN_DISPLAY") &&
      !isSet(lookup, "SDL_VIDEO_FULLSCREEN_HEAD") && countHeads() > 1) {
    choices.push_back({"SDL_VIDEO_FULLSCREEN_DISPLAY", "0"});
  }
  return choices;
}

std::string videoStartAdvice(const char* driver, const std::string& sdlError) {
  // SDL's reasons for a GL failure all name it: "Could not create GL context", "Couldn't
  // find matching GLX visual", "Failed loading libGL.so.1", "OpenGL support not configured".
  if (sdlError.find("GL") != std::string::npos) {
    return "geosandbox: OpenGL could not start: check that an OpenGL driver is installed (Mesa's "
           "is libgl1-mesa-dri), that LIBGL_DRIVERS_PATH, if set, names its folder, and that "
           "the X server offers GLX (glxinfo -B)\n";
  }
  if (!driver || !*driver || std::strcmp(driver, "x11") == 0) return "";
  // Classic SDL says this of any driver it lacks or cannot start; SDL 2 names the driver.
  if (sdlError != "No available video device" &&
      sdlError != std::string(driver) + " not available") {
    return "";
  }
  return "geosandbox: SDL_VIDEODRIVER=" + std::string(driver) +
         " names a video driver this SDL cannot use; unset SDL_VIDEODRIVER or set it to x11\n";
}

void applyVideoEnvironment() {
  const EnvironmentLookup lookup = [](const char* name) { return std::getenv(name); };
  const bool classic = isClassicSdl(*SDL_Linked_Version());
  for (const EnvironmentSetting& choice :
       videoEnvironmentChoices(lookup, classic, countXineramaHeads)) {
    setenv(choice.name.c_str(), choice.value.c_str(), 1);
  }
}
