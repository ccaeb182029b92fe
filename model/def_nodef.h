#pragma once

#include "model/define.h"

// Defined in: model/def_nodef.cpp; engine/analyze_nodef.cpp; document/report.cpp;
// document/definition_file.cpp (save, which writes nothing).

// The bytes no item covers, after the top-level items. The document holds exactly
// one; it is never shown in the definition list nor written to a definition file.
class Def_nodef : public Define {
public:
    Def_nodef() : Define(Bcl_str()) {}

    Data_node* analyze(Data_node* cur, Component* parent, Data_node* stop) override;
    Data_node* analyze_range(Data_node* cur, Component* parent, Data_node* stop,
                             unsigned from, unsigned to, unsigned group) override;
    // Takes no indent: the undefined section has a fixed layout.
    void write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent) override;
    void accept(Def_visitor& visitor) override;
    // Never written: the undefined item is not part of the definition.
    void save(Bcl_binaryfile& out) const override;
};
