#pragma once

class Bcl_edit_filter;
class QLineEdit;
class QPlainTextEdit;

// Hands the key presses, typed and pasted text, input-method commits, focus and
// clicks of `field` to `filter` and does what it answers (see Bcl_edit_filter). The
// field then has no context menu and takes no dropped text. A null filter takes the
// previous one away; `filter` must outlive the field or be taken away first.
void set_field_filter(QLineEdit& field, const Bcl_edit_filter* filter);

// A field of several lines has too many ways of changing its text (Enter, dragged
// text, the middle button, undo, an input method) to hand each to `filter` before
// it happens: each change is judged after the control made it, as the range of the
// text it replaced and what it put there. One character put in goes to typed(),
// more to pasted(); a change that only deletes stands. A refused change is taken
// back, the caret where it began; a change the filter alters becomes the filter's
// text within the same undo step. The text the field holds when the filter is set
// is taken as it is. A null filter takes the previous one away.
void set_lines_filter(QPlainTextEdit& field, const Bcl_edit_filter* filter);
