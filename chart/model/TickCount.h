#pragma once
// Milliseconds of a monotonic clock, wrapping at 32 bits like the system's
// tick count; default object names are made from it.
namespace lumigra {

unsigned long moduleTickCount();

} // namespace lumigra
