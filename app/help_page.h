// The help page that F1 shows over the slot area: every key, where Save
// writes, and the renderer command for the session's recipe.
#pragma once

// F1: fills the overlay with the help page as things stand now (the save
// file names, the working directory, the next free numbered names). True:
// the window shows something new.
bool showHelpPage();
