# The Modbus benchmark compares the slave engine with a libmodbus server in the
# same run; libmodbus is linked into that benchmark only. Include this file
# after the benchmark targets are defined.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(LIBMODBUS QUIET IMPORTED_TARGET libmodbus)
endif()
if(TARGET bench_modbus AND LIBMODBUS_FOUND)
  target_link_libraries(bench_modbus PRIVATE PkgConfig::LIBMODBUS)
  target_compile_definitions(bench_modbus PRIVATE TC_HAVE_LIBMODBUS=1)
endif()
