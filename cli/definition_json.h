#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "document/definition_file.h"
#include "model/item_list.h"
#include "toolkit/text/bcl_str.h"

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

// Parses the JSON text of a definition. Throws Json_definition_error for a text
// that is not JSON, and for an object holding a field twice (the place named, e.g.
// "items[0]: duplicate field \"size\""): JSON would silently keep one of them.
[[nodiscard]] nlohmann::ordered_json parse_definition_json(std::string_view text);

// Builds the items into `items` (empty on entry). Throws Json_definition_error.
void definition_from_json(const nlohmann::ordered_json& json, Bcl_str& title, Byte_order& byte_order, Item_list& items);
