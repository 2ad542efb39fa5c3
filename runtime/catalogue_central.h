// The one translation unit that defines a catalogue's tables includes this
// first (after defining CAT_CENTRAL), so that the modules it includes next
// register themselves; it then binds the catalogue to its areas
// (CatalogueOf) and instantiates every module's chunk bases (ForceBases).
#pragma once

#ifndef CAT_CENTRAL
#error "define CAT_CENTRAL before the first include in a catalogue's table unit"
#endif

#include "runtime/catalogue_derive.h"

namespace cat {

// Binds a catalogue tag to its areas; specialised by each catalogue's table unit.
template <class Cat>
struct CatalogueOf;

}  // namespace cat

// The chunk bases of every module, from the catalogue that holds it.
template <class M>
const cat::Bases cat::ModuleBases<M>::v =
    cat::CatalogueOf<typename M::catalogue>::Tables::template bases_of<M>(cat::CatalogueOf<typename M::catalogue>::areas);

namespace cat {
// Instantiates the bases of every module of a list.
template <class L>
struct ForceBases;
template <class... Ms>
struct ForceBases<ModList<Ms...>> {
    static constexpr const Bases* all[] = {&ModuleBases<Ms>::v..., nullptr};
};
}  // namespace cat
