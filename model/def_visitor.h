#pragma once

class Def_int;
class Def_bitflag;
class Def_fix_str;
class Def_flex_str;
class Def_null_str;
class Def_if;
class Def_for;
class Def_while;
class Def_set_variable;
class Def_def_set;
class Def_def_ref;
class Def_nodef;
class Def_float;
class Def_bytes;

// One operation per item kind: adding a kind fails to compile wherever a visitor
// forgets it.
class Def_visitor {
public:
    virtual ~Def_visitor() = default;
    virtual void visit_int(Def_int& item) = 0;
    virtual void visit_bitflag(Def_bitflag& item) = 0;
    virtual void visit_fix_str(Def_fix_str& item) = 0;
    virtual void visit_flex_str(Def_flex_str& item) = 0;
    virtual void visit_null_str(Def_null_str& item) = 0;
    virtual void visit_if(Def_if& item) = 0;
    virtual void visit_for(Def_for& item) = 0;
    virtual void visit_while(Def_while& item) = 0;
    virtual void visit_set_variable(Def_set_variable& item) = 0;
    virtual void visit_def_set(Def_def_set& item) = 0;
    virtual void visit_def_ref(Def_def_ref& item) = 0;
    virtual void visit_nodef(Def_nodef& item) = 0;
    virtual void visit_float(Def_float& item) = 0;
    virtual void visit_bytes(Def_bytes& item) = 0;
};
