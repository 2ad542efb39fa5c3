// The variable directory lookups: a cell by its full name "MODULE.BLOCK.FIELD".
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/catalogue_tables.h"

// Buffer sizes the callers of parseCatBlkFld provide.
constexpr size_t kDbugModuleBytes = 64;
constexpr size_t kDbugFieldBytes = 128;

// Splits a full name into a module name and a "BLOCK.FIELD" name, resolving
// user-block aliases and instance names. module_out holds kDbugModuleBytes,
// field_out kDbugFieldBytes. Returns 1 when both parts are found (non-empty
// for a plain name), else 0; a part too long for its buffer gives 0.
int parseCatBlkFld(const char* name, char* module_out, char* field_out);

// Finds a cell by its full name. *type_io: 0 on entry means any type (the
// found type is written back), a letter must match. need_flag: attribute
// bit 0 required. On success writes the cell's reference and its rate-group
// name and returns 1. Failures: -2 malformed or not found, -3 type mismatch
// or an access letter that cannot be resolved, -4 attribute bit absent.
int get_dbug_address(const char* name, char* type_io, int need_flag, CellRef* address_out,
                     const char** rate_group_out);

// The same lookups over another set of tables (test catalogues).
struct DbugTables {
    const DbugVar* var;
    const DbugHdr* hdr;
    uint32_t num_hdr;  // records including the empty first and last
    const char* const* ub_names;
    uint32_t num_ub_names;
    const char* const* ub_mappings;
    uint32_t num_ub_mappings;
    const AnTune* an_tune;
    uint32_t num_an_tune;
    const IntTune* int_tune;
    uint32_t num_int_tune;
};
// The application's tables.
DbugTables app_dbug_tables();
// The directory record of a full name (steps 1 to 3 of get_dbug_address),
// or nullptr for a malformed or unknown name.
const DbugVar* dbug_find_in(const DbugTables& t, const char* name);
// The cell a record names: for a tunable record ('*' or 'S' with an AnTune /
// IntTune record) the record's cell, else the record's address.
CellRef dbug_cell_of(const DbugTables& t, const DbugVar& v);
int parseCatBlkFld_in(const DbugTables& t, const char* name, char* module_out, char* field_out);
int get_dbug_address_in(const DbugTables& t, const char* name, char* type_io, int need_flag, CellRef* address_out,
                        const char** rate_group_out);
