// The fault registry: at each entry point the Win32/DirectDraw layer asks it
// whether a test made that call fail, whether the blitter is busy, and
// whether every surface has been lost. Only the headless host's test
// controls fill it; the hosts that run the game for a person never do, so in
// play every question answers "no" at the cost of one test of emptiness.
// The program has one thread and the registry has no lock.
#pragma once

#include <cstdint>
#include <string>

namespace hostcommon::faults {

// ---- Filling (the headless host's test controls) ------------------------------------

// Makes `api` ("OpenFile", "IDirectDraw::SetDisplayMode", ...) fail with
// `code`: the first `skip` calls go through, then `count` calls fail
// (count < 0: every call from then on). Replaces what was set for `api`.
void Inject(const std::string& api, int32_t code, int count, int skip);
// Makes the next `n` Blt/BltFast/Flip/Lock calls find the blitter busy.
void SetStillDrawing(int n);
// Takes every surface's memory away, as the display driver does.
void LoseAllSurfaces();
// Forgets every injected failure and busy call. The surface-loss count keeps
// counting, so a DirectDraw object made before never misses a later loss.
void Clear();

// ---- Asking (the API layer) -------------------------------------------------------

// True when `api` must fail now; *code receives the injected code. Each
// call of `api` uses up one skip or one failure.
bool TakeFailure(const char* api, int32_t* code);
// True when this Blt/BltFast/Flip/Lock finds the blitter busy; uses up one.
bool TakeStillDrawing();
// Counts every "lose all surfaces" request, from the start of the process;
// DirectDraw compares it with the count it saw last.
uint32_t SurfaceLossCount();

} // namespace hostcommon::faults
