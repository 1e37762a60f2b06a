// The slideshow, destination 111 of a list of files: each picture in turn, full screen or
// in the fitted window, with a pause between two that a timer or a click ends.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace quilla {

// Runs inside the batch of the drop handling; stops as soon as the batch is cancelled.
void RunSlideshow(const std::vector<std::string>& names);

// The main window's timer of an automatic pause.
inline constexpr UINT_PTR kSlidePauseTimer = 3;
// The timer fired: the pause ends and the timer stops.
void EndSlidePauseByTimer();

}  // namespace quilla
