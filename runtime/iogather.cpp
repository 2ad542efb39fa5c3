// The I/O gathers run by the master clock pass (see runtime/sched.cpp).
#include "runtime/iogather.h"

#include "runtime/neighbours.h"

void _R10_iogather() {
    iogather_R10_discrete_inputs();
    iogather_R10_actuator();
    iogather_R10_relays();
}

void _R20_iogather() {
    iogather_R20_analog_inputs();
    iogather_R20_analog_outputs();
    iogather_R20_can2_sync();
    iogather_R20_fpga_adc_fault();
}

void _R80_iogather() { iogather_R80_estop(); }
