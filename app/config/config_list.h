// The configuration lists: each entry of a list takes its setting only while
// the sampling window is open (the I/O locked or the controller powering
// up), so that a configuration cannot change under a running turbine;
// otherwise the list keeps its values.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace cfglist {

template <typename T>
struct Entry {
    T& list;
    T setting;
};

template <typename T>
inline void SAMPLE(uint32_t window, std::initializer_list<Entry<T>> entries) {
    if (window == 0) return;
    for (const Entry<T>& e : entries) e.list = e.setting;
}

}  // namespace cfglist
