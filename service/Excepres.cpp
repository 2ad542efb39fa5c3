#include "service/Excepres.h"

uint16_t ExceptionResId = 0;
uint16_t ExceptionResErrorType = 0;
ExceptionHook ExceptionRtosError = nullptr;

void ExceptionResInit(void (*initFunction)(), ExceptionHook hook) {
    ExceptionResId = 0;
    ExceptionResErrorType = 0;
    if (initFunction != nullptr) initFunction();
    ExceptionRtosError = hook;
}

void ExceptionResError(uint16_t group, uint16_t code) {
    ExceptionResErrorType = code;
    if (group != 0) ExceptionResId = group;
    if (ExceptionRtosError != nullptr) ExceptionRtosError(group, code);
}
