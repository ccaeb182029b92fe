#pragma once

class Bcl_edit;

// Makes `field` accept only text that a Bcl_str of a definition can hold: at most 255
// Shift-JIS bytes, and no character that Shift-JIS cannot hold.
void limit_to_bcl_text(Bcl_edit& field);
