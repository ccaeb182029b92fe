#pragma once

#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "doc/definition_file.h"
#include "model/item_list.h"
#include "toolkit/bcl_str.h"

// A definition as JSON: the settings and the whole item tree, one object per item
// with a "kind" and the kind's fields. Texts are JSON strings when their Shift-JIS
// bytes convert to UTF-8 and back unchanged, else {"sjis": "<hex bytes>"}, so that
// kxd -> JSON -> kxd gives the same bytes.

// A JSON document that does not describe a definition; the message names the
// place, e.g. "items[2].size: must be 1, 2 or 4".
class Json_definition_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

[[nodiscard]] nlohmann::ordered_json definition_to_json(const Definition_contents& definition);

// Builds the items into `items` (empty on entry). Throws Json_definition_error.
void definition_from_json(const nlohmann::ordered_json& json, Bcl_str& title, int& byte_order, Item_list& items);
