#pragma once

#include <functional>

// Creates the program's forms, in order: the main window, the editor, the About box.
void createForms();
// Destroys whatever forms exist, the last created first.
void destroyForms();

// Start-up, the message loop and shutdown. A failure while the forms are created is shown
// in the error box and ends the program. Returns the exit code, always 0.
int runNobrex(const std::function<void()> &makeForms = createForms);
