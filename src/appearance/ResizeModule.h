#pragma once
// ResizeModule keeps a form's controls in proportion to the form's outer size. ResizeInit
// records the Left, Top, Width and Height of every entry of the form's control collection, by
// position, together with the form's outer Width and Height; ResizeForm sets every recorded
// position again in proportion to the form's present outer size, always from the record.
// It reaches controls only through the collection and their properties by name, so it works for
// any form. It does not watch the form: the form's own load and resize handlers call it.
//
// Every step is a statement of its own, and a failing statement (a menu entry without geometry,
// a missing record, a division by zero, a refused value) is abandoned silently: the next one
// runs, and whatever it was to produce keeps its previous value.

class Form;

namespace ResizeModule {

// Also set each control's font size from its new height. Nothing in the program turns it on.
extern bool ResizeFonts;

void ResizeInit(Form& form);
void ResizeForm(Form& form);

// Back to the state at program start, with no record. Used by tests.
void ResizeForget();

} // namespace ResizeModule
