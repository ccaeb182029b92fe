#pragma once

class Bcl_edit;

// Makes `field` accept only text that a Bcl_str of a definition can hold: at most 255
// Shift-JIS bytes, and no character that Shift-JIS cannot hold (Ctrl_edit_text_state).
// Its text is shown with field_text_of() and read with bcl_text_of_field().
void limit_to_bcl_text(Bcl_edit& field);
