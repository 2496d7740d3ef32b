#pragma once
// The variables the program sets for SDL 1.2 before it starts, so the picture has the
// right shape and place on the desktop sessions people run, and advice when no window opens.

#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

struct EnvironmentSetting {
  std::string name;
  std::string value;
};

// Returns a variable's value, or null where it is unset.
using EnvironmentLookup = std::function<const char*(const char*)>;

// sdl12-compat, SDL 1.2's interface over SDL 2, counts its versions from 1.2.50 on.
bool isClassicSdl(const SDL_version& linked);

// The number of monitors, or -1 where it cannot be told; asked only where it matters.
using HeadCount = std::function<int()>;

// What to set, in order; a variable the user has set, even empty, is never among them.
// Only the video driver is pinned on sdl12-compat, whose picture is right as it is.
std::vector<EnvironmentSetting> videoEnvironmentChoices(const EnvironmentLookup& lookup,
                                                        bool classicSdl,
                                                        const HeadCount& countHeads);

// What to check when no window could be had, as lines with their newlines: where
// SDL_VIDEODRIVER names a driver the library lacks, to unset it; where OpenGL could not start
// (SDL's reason names GL), the driver and the X server's GLX; empty otherwise.
std::string videoStartAdvice(const char* driver, const std::string& sdlError);

// Sets the choices for the SDL 1.2 the process has loaded, from its own environment.
void applyVideoEnvironment();
