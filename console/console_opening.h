// The console's place and title while the dialogue runs.
#pragma once

// Moves the console to the screen's left edge (2, 20, 350 x 600) and titles it "Quorvel".
void PlaceConsoleForDialogue();
