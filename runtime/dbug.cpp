#include "runtime/dbug.h"

#include <cstdio>
#include <cstring>

namespace {

// Copies `n` characters and a terminator into a buffer of `size` bytes;
// false (nothing written) when they do not fit.
bool copy_part(char* dst, size_t size, const char* src, size_t n) {
    if (n >= size) return false;
    std::memcpy(dst, src, n);
    dst[n] = '\0';
    return true;
}

// Alias rule: "OUTER.NAME MODULE.BLOCK.FIELD" entries whose outer name is
// the whole name. 1 resolved, 0 a part too long, -1 no alias applies.
int alias_rule(const DbugTables& t, const char* name, char* module_out, char* field_out) {
    const size_t len = std::strlen(name);
    for (uint32_t k = 0; k < t.num_ub_mappings; ++k) {
        const char* alias = t.ub_mappings[k];
        if (std::strncmp(alias, name, len) != 0 || alias[len] != ' ') continue;
        const char* inner = alias + len + 1;
        const char* dot = static_cast<const char*>(std::memchr(inner, '.', strnlen(inner, 128)));
        if (dot == nullptr) continue;  // no dot among the first 128 characters
        if (!copy_part(module_out, kDbugModuleBytes, inner, static_cast<size_t>(dot - inner))) return 0;
        if (!copy_part(field_out, kDbugFieldBytes, dot + 1, std::strlen(dot + 1))) return 0;
        return 1;
    }
    return -1;
}

// Instance rule: "OUTER.NAME.FIELD" where OUTER.NAME is user-block instance k.
int instance_rule(const DbugTables& t, const char* name, char* module_out, char* field_out) {
    for (uint32_t k = 0; k < t.num_ub_names; ++k) {
        const char* inst = t.ub_names[k];
        const size_t ilen = std::strlen(inst);
        if (ilen == 0) continue;
        // The prefix first: a shorter name ends before ilen, so it is never read past.
        if (std::strncmp(name, inst, ilen) != 0 || name[ilen] != '.') continue;
        char mod[kDbugModuleBytes];
        std::snprintf(mod, sizeof mod, "_ub%u", k + 1);
        if (!copy_part(field_out, kDbugFieldBytes, name + ilen + 1, std::strlen(name + ilen + 1))) return 0;
        std::memcpy(module_out, mod, std::strlen(mod) + 1);
        return 1;
    }
    return -1;
}

// The first word of a tunable record: the cell's reference (0 if the record
// is not in the tables).
CellRef tune_record_cell(const DbugTables& t, CellRef rec) {
    const uint32_t off = ref_offset(rec);
    if (ref_area(rec) == AREA_an_tune && off % kAnTuneBytes == 0 && off / kAnTuneBytes < t.num_an_tune)
        return t.an_tune[off / kAnTuneBytes].cell;
    if (ref_area(rec) == AREA_int_tune && off % kIntTuneBytes == 0 && off / kIntTuneBytes < t.num_int_tune)
        return t.int_tune[off / kIntTuneBytes].cell;
    return 0;
}

}  // namespace

int parseCatBlkFld_in(const DbugTables& t, const char* name, char* module_out, char* field_out) {
    int r = alias_rule(t, name, module_out, field_out);
    if (r >= 0) return r;
    r = instance_rule(t, name, module_out, field_out);
    if (r >= 0) return r;
    // Plain rule.
    module_out[0] = '\0';
    field_out[0] = '\0';
    const char* dot = std::strchr(name, '.');
    if (dot == nullptr) return 0;
    if (!copy_part(module_out, kDbugModuleBytes, name, static_cast<size_t>(dot - name))) return 0;
    if (!copy_part(field_out, kDbugFieldBytes, dot + 1, std::strlen(dot + 1))) {
        module_out[0] = '\0';
        return 0;
    }
    return module_out[0] != '\0' && field_out[0] != '\0' ? 1 : 0;
}

const DbugVar* dbug_find_in(const DbugTables& t, const char* name) {
    char module[kDbugModuleBytes];
    char field[kDbugFieldBytes];
    if (parseCatBlkFld_in(t, name, module, field) != 1) return nullptr;
    const DbugHdr* h = nullptr;
    for (uint32_t k = 1; k < t.num_hdr; ++k)
        if (std::strcmp(t.hdr[k].name, module) == 0) {
            h = &t.hdr[k];
            break;
        }
    if (h == nullptr || h->first > h->last) return nullptr;
    for (uint32_t k = h->first; k <= h->last; ++k)
        if (std::strcmp(t.var[k].name, field) == 0) return &t.var[k];
    return nullptr;
}

CellRef dbug_cell_of(const DbugTables& t, const DbugVar& v) {
    const AreaCode a = ref_area(v.address);
    return a == AREA_an_tune || a == AREA_int_tune ? tune_record_cell(t, v.address) : v.address;
}

int get_dbug_address_in(const DbugTables& t, const char* name, char* type_io, int need_flag, CellRef* address_out,
                        const char** rate_group_out) {
    const DbugVar* v = dbug_find_in(t, name);
    if (v == nullptr) return -2;
    if (*type_io == 0) *type_io = v->type;
    if (*type_io != v->type) return -3;
    if (need_flag && (v->attr & 1) == 0) return -4;
    switch (v->access) {
        case ' ':
            *address_out = v->address;
            break;
        case '*':
            if (v->type == 'B' || v->type == 'C') *address_out = v->address;
            else if (v->type == 'A' || v->type == 'I' || v->type == 'T') *address_out = tune_record_cell(t, v->address);
            else return -3;
            break;
        default:
            return -3;
    }
    *rate_group_out = v->rate;
    return 1;
}

DbugTables app_dbug_tables() {
    return {_dbug_var,  _dbug_hdr,   num_dbug_hdr, UserBlockNames, numUserBlockNames, UserBlockOutputMappings,
            numUserBlockOutputMappings, _an_tune, num_an_tune, _int_tune, num_int_tune};
}

int parseCatBlkFld(const char* name, char* module_out, char* field_out) {
    return parseCatBlkFld_in(app_dbug_tables(), name, module_out, field_out);
}

int get_dbug_address(const char* name, char* type_io, int need_flag, CellRef* address_out,
                     const char** rate_group_out) {
    return get_dbug_address_in(app_dbug_tables(), name, type_io, need_flag, address_out, rate_group_out);
}
