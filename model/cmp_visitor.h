#pragma once

class Component;
class Cmp_fix_str;
class Cmp_flex_str;
class Cmp_null_str;
class Cmp_int;
class Cmp_uint;
class Cmp_hex;
class Cmp_bitflag;
class Cmp_nodef;
class Cmp_tbl;
class Cmp_rec;
class Cmp_float;
class Cmp_bytes;

// One operation per component kind.
class Cmp_visitor {
public:
    virtual ~Cmp_visitor() = default;
    virtual void visit_component(Component& component) = 0;
    virtual void visit_fix_str(Cmp_fix_str& component) = 0;
    virtual void visit_flex_str(Cmp_flex_str& component) = 0;
    virtual void visit_null_str(Cmp_null_str& component) = 0;
    virtual void visit_int(Cmp_int& component) = 0;
    virtual void visit_uint(Cmp_uint& component) = 0;
    virtual void visit_hex(Cmp_hex& component) = 0;
    virtual void visit_bitflag(Cmp_bitflag& component) = 0;
    virtual void visit_nodef(Cmp_nodef& component) = 0;
    virtual void visit_tbl(Cmp_tbl& component) = 0;
    virtual void visit_rec(Cmp_rec& component) = 0;
    virtual void visit_float(Cmp_float& component) = 0;
    virtual void visit_bytes(Cmp_bytes& component) = 0;
};
