#pragma once

class Bcl_edit_filter;
class QLineEdit;

// Hands the key presses, typed and pasted text, input-method commits, focus and
// clicks of `field` to `filter` and does what it answers (see Bcl_edit_filter). The
// field then has no context menu and takes no dropped text. A null filter takes the
// previous one away; `filter` must outlive the field or be taken away first.
void set_field_filter(QLineEdit& field, const Bcl_edit_filter* filter);
