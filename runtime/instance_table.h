// Per-instance dispatch of a user-block template: a piece written as a
// function template over the instance index K becomes a table of plain
// functions, one per instance, so that a slice calls piece(k) with a run-time
// index while each instance is still compiled inline over its own cells.
//
//   template <int K> void fault() { ... }
//   INSTANCE_TABLE(kFault, void, fault, kAiChannels)
//   void AI_CHANNEL_fault(int k) { kFault[k](); }
#pragma once

#include <array>
#include <cstddef>
#include <utility>

namespace inst {
template <class R, template <int> class F, size_t... K>
constexpr auto table(std::index_sequence<K...>) {
    return std::array<R (*)(), sizeof...(K)>{&F<static_cast<int>(K)>::run...};
}
}  // namespace inst

#define INSTANCE_TABLE(NAME, R, FN, COUNT)                                                    \
    template <int K>                                                                          \
    struct NAME##_t {                                                                         \
        static R run() { return FN<K>(); }                                                    \
    };                                                                                        \
    constexpr auto NAME = ::inst::table<R, NAME##_t>(std::make_index_sequence<COUNT>{});
