// Entry point 2, built once per interface version: the library itself
// reports QPEXT32_INTERFACE_VERSION, and a test build reports another so
// that the logger's refusal of it can be tried.
#include "qpext32.h"

#ifndef QPEXT32_REPORTED_VERSION
#define QPEXT32_REPORTED_VERSION QPEXT32_INTERFACE_VERSION
#endif

extern "C" QPEXT32_API int32_t qpext32_ordinal_2(float *version) {
    if (version) *version = QPEXT32_REPORTED_VERSION;
    return QPEXT32_OK;
}
