// The side effects of a service write: called by the service side after it
// has written any cell, with the cell's address. A momentary command input
// restarts (written non-zero) or ends (written 0) its time-out; every other
// cell is left as it is. Generated with the application (app/).
#pragma once

void special_case_tune(void* cell);
