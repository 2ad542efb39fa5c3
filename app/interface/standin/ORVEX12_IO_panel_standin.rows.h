// STAND-IN rows of module ORVEX12_IO: none left; the chassis temperature
// and the display settings are computed now.
#pragma once

#define ORVEX12_IO_PANEL_STANDIN_ROWS(X)
