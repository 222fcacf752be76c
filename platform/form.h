#pragma once

#include <QFont>

// How a window goes when it closes; ours are only ever hidden.
enum class CloseAction { Hide };

// The desktop's sans-serif font at the size the windows were laid out for.
QFont formFont();

// Creates a form into its global reference. The reference is set by the form's constructor
// itself, first thing, so that code it runs can reach the window; when construction fails
// the reference is null again.
template <typename Form>
void createForm(Form *&reference)
{
    try {
        new Form();
    } catch (...) {
        reference = nullptr;
        throw;
    }
}
